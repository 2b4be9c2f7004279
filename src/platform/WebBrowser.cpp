// The browser control of the printing windows: the written page is kept as text and its print
// preview renders it with a rich-text document, from which the user prints or saves a PDF.
#include "platform/WebBrowser.h"
#include "platform/Script.h"

#include <QApplication>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextDocument>
#include <QWidget>

namespace platform {

namespace {

constexpr int OLECMDID_PRINT = 6;
constexpr int OLECMDID_PRINTPREVIEW = 7;

QWidget* dialogParent()
{
    if (Form* f = Form::ActiveForm())
        if (f->Window())
            return f->Window();
    return QApplication::activeWindow();
}

void render(const QString& html, QPrinter* printer)
{
    QTextDocument doc;
    doc.setHtml(html);
    doc.print(printer);
}

} // namespace

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
        ShowHtmlPrintPreview(doc_.Text(), Parent.Name);
        return;
    case OLECMDID_PRINT: {
        if (Script::Active()) {
            Script::Record({QStringLiteral("print"), doc_.Text(), 0, Parent.Name});
            return;
        }
        QPrinter printer(QPrinter::HighResolution);
        QPrintDialog dlg(&printer, dialogParent());
        if (dlg.exec() == QDialog::Accepted)
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
    printer.setDocName(title);
    QPrintPreviewDialog dlg(&printer, dialogParent());
    dlg.setWindowTitle(QStringLiteral("Anteprima di stampa"));
    QObject::connect(&dlg, &QPrintPreviewDialog::paintRequested, &dlg, [&html](QPrinter* p) { render(html, p); });
    dlg.resize(900, 700);
    dlg.exec();
}

} // namespace platform
