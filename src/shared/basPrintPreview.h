#pragma once
// Printing through an HTML page written into a window's browser control and its print preview.
#include "platform/FlexGrid.h"
#include "platform/Forms.h"
#include "platform/WebBrowser.h"
#include <QString>

namespace verbanto {

extern int gNoPrintColumns[101];   // filled from index 1, ended by -1
extern short gPrtcSize;

void initPrintPreview(platform::WebBrowser& web);
void printWebTitle(platform::WebBrowser& web);
void printWebSubtitle(platform::WebBrowser& web, const QString& text);
void printWebGrid(platform::FlexGrid& grid, platform::WebBrowser& web);
void printString(const QString& text, platform::WebBrowser& web);
void printThisForm(platform::Form& form, platform::WebBrowser& web);
void endPrintPreview(platform::WebBrowser& web);
void goPrintPreview(platform::WebBrowser& web);
QString formattaPerStampa(const QString& text);

} // namespace verbanto
