#pragma once
// The browser control as printing uses it: a document that collects what is written,
// and command 7, the print preview of that page.
#include "platform/Forms.h"
#include <QString>
#include <memory>

class QSizeF;
class QTextDocument;

namespace platform {

class WebBrowser;

class HtmlDocument {
public:
    void write(const QString& text);
    void close();
    QString Text() const { return text_; }
    bool IsClosed() const { return closed_; }
private:
    friend class WebBrowser;
    QString text_;
    bool closed_ = false;
};

class WebBrowser : public Control {
public:
    WebBrowser(Form& f, const QString& name, int index = -1);
    ~WebBrowser() override;
    QWidget* Widget() const override { return nullptr; }    // kept out of sight, as in the windows
    void Navigate(const QString& url);                        // "about:blank" starts a new page
    HtmlDocument& Document();
    // 7 = print preview (option 0: the preview opens and the user may print from it).
    void ExecWB(int command, int option);
    QString Html() const { return doc_.Text(); }
    void ApplyCommonSetUp(const QString& /*iconPath*/) override { setTabStop(false); }
private:
    HtmlDocument doc_;
};

// Opens the print preview of an HTML page (in tests: records it instead); the title names the
// page and is the file name the print dialog proposes for a PDF.
void ShowHtmlPrintPreview(const QString& html, const QString& title);

// The page in the terms of Qt's rich-text engine, so that it lays out as a browser shows it:
// an end of paragraph that closes none is an empty paragraph, a row without cells is no row.
QString BrowserEquivalentHtml(const QString& html);
// The page laid out for printing as a browser lays it out.
std::unique_ptr<QTextDocument> PrintableDocument(const QString& html);
// Pages of the given size (in the layout's pixels, 96 to the inch), or wider pages of the same
// shape when the content can't be laid out as narrow: printed, they shrink to fit the paper.
void LayOutForPage(QTextDocument& doc, const QSizeF& page);
// The name a print dialog turns into "<title>.pdf".
QString PrintDocName(const QString& title);

} // namespace platform
