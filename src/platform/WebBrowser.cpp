// The browser control of the printing windows: the written page is kept as text and its print
// preview renders it with a rich-text document, from which the user prints or saves a PDF.
#include "platform/WebBrowser.h"
#include "platform/WaitingWindows.h"
#include "platform/ScriptedMode.h"

#include <QApplication>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextOption>
#include <QWidget>
#include <algorithm>
#include <vector>

namespace platform {

namespace {

constexpr int OLECMDID_PRINT = 6;
constexpr int OLECMDID_PRINTPREVIEW = 7;

constexpr qreal kLayoutDpi = 96;   // the rich-text layout's pixels

void render(const QString& html, QPrinter* printer)
{
    const auto doc = PrintableDocument(html);
    LayOutForPage(*doc, QSizeF(printer->width() * kLayoutDpi / printer->logicalDpiX(),
                               printer->height() * kLayoutDpi / printer->logicalDpiY()));
    doc->print(printer);
}

// The page's name: the window's caption, or its name when it has none.
QString pageTitle(const Form& f)
{
    return f.Caption().isEmpty() ? f.Name : f.Caption();
}

// Start tags that end an open paragraph, as a browser's parser closes it.
bool closesParagraph(const QString& tag, bool quirks)
{
    static const QStringList tags{
        QStringLiteral("address"), QStringLiteral("article"), QStringLiteral("aside"), QStringLiteral("blockquote"),
        QStringLiteral("center"), QStringLiteral("dd"), QStringLiteral("details"), QStringLiteral("dialog"),
        QStringLiteral("dir"), QStringLiteral("div"), QStringLiteral("dl"), QStringLiteral("dt"),
        QStringLiteral("fieldset"), QStringLiteral("figcaption"), QStringLiteral("figure"), QStringLiteral("footer"),
        QStringLiteral("form"), QStringLiteral("h1"), QStringLiteral("h2"), QStringLiteral("h3"), QStringLiteral("h4"),
        QStringLiteral("h5"), QStringLiteral("h6"), QStringLiteral("header"), QStringLiteral("hgroup"),
        QStringLiteral("hr"), QStringLiteral("li"), QStringLiteral("main"), QStringLiteral("menu"),
        QStringLiteral("nav"), QStringLiteral("ol"), QStringLiteral("pre"), QStringLiteral("section"),
        QStringLiteral("summary"), QStringLiteral("ul")};
    // A page without a document type is read in quirks mode, where a table stays inside the paragraph.
    return tags.contains(tag) || (tag == QLatin1String("table") && !quirks);
}

} // namespace

QString BrowserEquivalentHtml(const QString& html)
{
    static const QRegularExpression tagRe(QStringLiteral(R"(<(/?)([A-Za-z][A-Za-z0-9]*)\b[^>]*>)"));
    static const QRegularExpression rowEndRe(QStringLiteral(R"(\s*</tr\s*>)"), QRegularExpression::CaseInsensitiveOption);
    const bool quirks = !html.trimmed().startsWith(QLatin1String("<!doctype"), Qt::CaseInsensitive);
    const qsizetype n = html.size();
    QString out;
    out.reserve(n + 64);
    // Whether a paragraph is open, in the page and in each table cell being read (a cell is a scope of its own).
    std::vector<bool> paragraphOpen{false};
    qsizetype i = 0;
    while (i < n) {
        const qsizetype lt = html.indexOf(QLatin1Char('<'), i);
        if (lt < 0) {
            out += QStringView(html).mid(i);
            break;
        }
        out += QStringView(html).mid(i, lt - i);
        if (QStringView(html).mid(lt, 4) == QLatin1String("<!--")) {
            const qsizetype end = html.indexOf(QLatin1String("-->"), lt + 4);
            i = end < 0 ? n : end + 3;
            out += QStringView(html).mid(lt, i - lt);
            continue;
        }
        const QRegularExpressionMatch m = tagRe.match(html, lt, QRegularExpression::NormalMatch,
                                                      QRegularExpression::AnchorAtOffsetMatchOption);
        if (!m.hasMatch()) {
            out += QLatin1Char('<');
            i = lt + 1;
            continue;
        }
        const bool end = !m.capturedView(1).isEmpty();
        const QString name = m.captured(2).toLower();
        const QStringView tag = m.capturedView(0);
        i = m.capturedEnd(0);
        if (!end && (name == QLatin1String("style") || name == QLatin1String("script"))) {
            // Raw text up to its own end tag.
            qsizetype close = html.indexOf(QStringLiteral("</") + name, i, Qt::CaseInsensitive);
            if (close < 0)
                close = n;
            out += tag;
            out += QStringView(html).mid(i, close - i);
            i = close;
            continue;
        }
        if (!end && name == QLatin1String("tr")) {
            // A row without cells takes no room in a browser; Qt would give it a row of empty cells.
            const QRegularExpressionMatch rowEnd = rowEndRe.match(html, i, QRegularExpression::NormalMatch,
                                                                  QRegularExpression::AnchorAtOffsetMatchOption);
            if (rowEnd.hasMatch()) {
                i = rowEnd.capturedEnd(0);
                continue;
            }
        } else if (name == QLatin1String("td") || name == QLatin1String("th")) {
            if (!end)
                paragraphOpen.push_back(false);
            else if (paragraphOpen.size() > 1)
                paragraphOpen.pop_back();
        } else if (name == QLatin1String("p")) {
            if (end && !paragraphOpen.back()) {
                // An end of paragraph that closes none makes an empty paragraph.
                out += QLatin1String("<p></p>");
                continue;
            }
            paragraphOpen.back() = !end;
        } else if (!end && closesParagraph(name, quirks)) {
            paragraphOpen.back() = false;
        }
        out += tag;
    }
    return out;
}

std::unique_ptr<QTextDocument> PrintableDocument(const QString& html)
{
    constexpr qreal kPrintMargin = 72;   // a browser's printed margins, three quarters of an inch
    constexpr qreal kBodyMargin = 8;     // and the page's own margin inside them
    auto doc = std::make_unique<QTextDocument>();
    doc->setDocumentMargin(kPrintMargin + kBodyMargin);
    // Lines break between words only, and the layout's measures do not depend on the screen.
    QTextOption wrap = doc->defaultTextOption();
    wrap.setWrapMode(QTextOption::WordWrap);
    doc->setDefaultTextOption(wrap);
    doc->setUseDesignMetrics(true);
    doc->setHtml(BrowserEquivalentHtml(html));
    // An empty paragraph has no line in a browser: only its margin of one em stands between its
    // neighbours. Qt gives it a whole line and two margins.
    QTextFrame* root = doc->rootFrame();
    for (QTextFrame::iterator it = root->begin(); !it.atEnd(); ++it) {
        const QTextBlock b = it.currentBlock();
        if (!b.isValid() || !b.text().isEmpty() || b == doc->lastBlock())
            continue;
        const QFont font = b.charFormat().font();
        const qreal em = font.pointSizeF() > 0 ? font.pointSizeF() * kLayoutDpi / 72 : font.pixelSize();
        QTextBlockFormat format = b.blockFormat();
        format.setLineHeight(0, QTextBlockFormat::FixedHeight);
        format.setTopMargin(em);
        format.setBottomMargin(0);
        QTextFrame::iterator next = it;
        ++next;
        if (QTextFrame* table = next.atEnd() ? nullptr : next.currentFrame()) {
            // Printed, a table keeps its distance by its own margin, not by the paragraph's before it.
            format.setTopMargin(0);
            QTextFrameFormat tf = table->frameFormat();
            tf.setTopMargin(std::max(tf.topMargin(), em));
            table->setFrameFormat(tf);
        }
        QTextCursor(b).setBlockFormat(format);
    }
    return doc;
}

void LayOutForPage(QTextDocument& doc, const QSizeF& page)
{
    // The narrowest the content can be laid out, lines broken wherever words allow.
    doc.setPageSize(QSizeF(1, page.height()));
    const qreal narrowest = doc.idealWidth();
    // A page too narrow for it is printed shrunk, as a browser shrinks a page to fit.
    const qreal width = std::max(page.width(), narrowest);
    doc.setPageSize(QSizeF(width, page.height() * width / page.width()));
}

QString PrintDocName(const QString& title)
{
    // Qt's print dialog proposes the name up to its last dot that a non-blank follows, as if the
    // rest were an extension, and adds ".pdf": "Gestione Verbanto 1.0 - Prossime scadenze" would
    // become "Gestione Verbanto 1.pdf". A name with such a dot gets ".pdf" of its own, which the
    // dialog then takes off instead. A slash would name a folder.
    static const QRegularExpression extension(QStringLiteral(R"(\.\S)"));
    QString name = title;
    name.replace(QLatin1Char('/'), QLatin1Char('-'));
    if (name.contains(extension))
        name += QStringLiteral(".pdf");
    return name;
}

void HtmlDocument::write(const QString& text)
{
    // Writing into a closed page starts a new one, as a browser's document does.
    if (closed_) {
        text_.clear();
        closed_ = false;
    }
    text_ += text;
}

void HtmlDocument::close() { closed_ = true; }

WebBrowser::WebBrowser(Form& f, const QString& name, int index) : Control(f, name, index) {}

WebBrowser::~WebBrowser() = default;

void WebBrowser::Navigate(const QString& /*url*/)
{
    // Every navigation starts an empty page; the control only serves printing.
    doc_.text_.clear();
    doc_.closed_ = false;
}

HtmlDocument& WebBrowser::Document() { return doc_; }

void WebBrowser::ExecWB(int command, int option)
{
    (void)option;
    switch (command) {
    case OLECMDID_PRINTPREVIEW:
        ShowHtmlPrintPreview(doc_.Text(), pageTitle(Parent));
        return;
    case OLECMDID_PRINT: {
        if (Script::Active()) {
            Script::Record({QStringLiteral("print"), doc_.Text(), 0, pageTitle(Parent)});
            return;
        }
        QPrinter printer(QPrinter::HighResolution);
        printer.setDocName(PrintDocName(pageTitle(Parent)));
        bool print = false;
        RunDialog(new QPrintDialog(&printer, DialogParent()),
                  [&](QDialog& d) { print = d.result() == QDialog::Accepted; });
        if (print)
            render(doc_.Text(), &printer);
        return;
    }
    default:
        Err::Raise(Err::InvalidProcedureCall);
    }
}

void ShowHtmlPrintPreview(const QString& html, const QString& title)
{
    if (Script::Active()) {
        Script::Record({QStringLiteral("preview"), html, 0, title});
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setDocName(PrintDocName(title));
    auto* dlg = new QPrintPreviewDialog(&printer, DialogParent());
    dlg->setWindowTitle(QStringLiteral("Anteprima di stampa"));
    QObject::connect(dlg, &QPrintPreviewDialog::paintRequested, dlg, [&html](QPrinter* p) { render(html, p); });
    dlg->resize(900, 700);
    RunDialog(dlg);
}

} // namespace platform
