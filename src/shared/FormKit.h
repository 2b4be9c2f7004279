#pragma once
// Small helpers that the list, editor and filter windows share: name patterns, numbers in SQL
// text, the modal show and release of a window's default instance, combo filling.
#include "platform/Forms.h"
#include "platform/SqlLite.h"
#include "shared/SqlLiteral.h"
#include <QString>
#include <functional>

namespace verbanto {

// A name against a pattern in which "*" stands for any run of characters and "?" for one;
// letters are compared with case ("Data*", "*ID", "Frequenza*").
bool MatchesPattern(const QString& text, const QString& pattern);

// The number a text begins with, as the grids hold ids ("12" -> 12, "" -> 0, "7x" -> 7).
double Val(const QString& text);

// Shows the default instance of a window modally; the opener waits until it closes.
template <class T> T& ShowModal()
{
    T& f = platform::Forms::Instance<T>();
    f.Show(platform::vbModal);
    return f;
}

// The default instance of a window when it is loaded (a list that an editor or a filter
// refreshes), else null.
template <class T> T* LoadedInstance()
{
    return platform::Forms::Exists<T>() && platform::Forms::Instance<T>().Loaded() ? &platform::Forms::Instance<T>() : nullptr;
}

// A label and a text box by their design names.
platform::Label* AddLabel(platform::Form& form, const char* name, const char* caption);
platform::TextBox* AddTextBox(platform::Form& form, const char* name, bool multiLine = false);

// Connects a button's click to a handler, when the window has that button.
void OnClick(platform::Button* button, std::function<void()> handler);

// Unloads a window and releases its default instance, so that the next opening builds it
// afresh. Safe inside the window's own handler: the object itself goes once the handler is done.
void UnloadAndRelease(platform::Form& form);

// Fills a combo from a query: one item per row, its text made from the row, its data the
// row's id column. The item whose id equals selectId becomes the selected one (and its
// index is returned); -1 when none matched.
int FillCombo(platform::ComboBox& combo, const QString& sql, const QString& idColumn,
              const std::function<QString(const platform::Recordset&)>& itemText, double selectId = -1);

// "cognome nome" of a row, an absent part giving empty text.
QString NameOf(const platform::Recordset& rs, const QString& surnameColumn, const QString& nameColumn);

} // namespace verbanto
