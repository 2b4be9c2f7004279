#pragma once
// What the list, editor and filter windows share for their controls: making them by design
// name, filling a combo from a query, names of a row, and the name patterns and ids of grid columns.
#include "platform/Forms.h"
#include "platform/SqlLite.h"
#include <QString>
#include <functional>

namespace verbanto {

// A name against a pattern in which "*" stands for any run of characters and "?" for one;
// letters are compared with case ("Data*", "*ID", "Frequenza*").
bool MatchesPattern(const QString& text, const QString& pattern);

// The number a text begins with, as the grids hold ids ("12" -> 12, "" -> 0, "7x" -> 7).
double Val(const QString& text);

// A label and a text box by their design names.
platform::Label* AddLabel(platform::Form& form, const char* name, const char* caption);
platform::TextBox* AddTextBox(platform::Form& form, const char* name, bool multiLine = false);

// Connects a button's click to a handler, when the window has that button.
void OnClick(platform::Button* button, std::function<void()> handler);

// Fills a combo from a query: one item per row, its text made from the row, its data the
// row's id column. The item whose id equals selectId becomes the selected one (and its
// index is returned); -1 when none matched or the query could not run (reported).
int FillCombo(platform::ComboBox& combo, const QString& sql, const QString& idColumn,
              const std::function<QString(const platform::Recordset&)>& itemText, double selectId = -1);

// "cognome nome" of a row, an absent part giving empty text.
QString NameOf(const platform::Recordset& rs, const QString& surnameColumn, const QString& nameColumn);

} // namespace verbanto
