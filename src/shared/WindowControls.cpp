#include "shared/WindowControls.h"
#include "shared/basGeneral.h"
#include "shared/TracedProcedure.h"

namespace verbanto {

bool MatchesPattern(const QString& text, const QString& pattern)
{
    // Iterative wildcard match with one backtrack point for the latest "*".
    qsizetype t = 0, p = 0, starP = -1, starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == text[t])) {
            ++t;
            ++p;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starT = t;
        } else if (starP >= 0) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

double Val(const QString& text)
{
    const QString s = text.trimmed();
    qsizetype end = 0;
    if (end < s.size() && (s[end] == u'-' || s[end] == u'+'))
        ++end;
    while (end < s.size() && (s[end].isDigit() || s[end] == u'.'))
        ++end;
    bool ok = false;
    const double v = s.left(end).toDouble(&ok);
    return ok ? v : 0.0;
}

platform::Label* AddLabel(platform::Form& form, const char* name, const char* caption)
{
    return form.Add<platform::Label>(QString::fromLatin1(name), QString::fromUtf8(caption));
}

platform::TextBox* AddTextBox(platform::Form& form, const char* name, bool multiLine)
{
    return form.Add<platform::TextBox>(QString::fromLatin1(name), multiLine);
}

void OnClick(platform::Button* button, std::function<void()> handler)
{
    if (button)
        button->Click = std::move(handler);
}

int FillCombo(platform::ComboBox& combo, const QString& sql, const QString& idColumn,
              const std::function<QString(const platform::Recordset&)>& itemText, double selectId)
{
    int selected = -1;
    // A query that can't run has been reported: the combo stays empty and the window goes on.
    if (!gRsOpen(sql))
        return selected;
    while (!gRs->EOF_()) {
        combo.AddItem(itemText(*gRs));
        const long id = (*gRs)[idColumn].Value().CLng();
        combo.setItemData(combo.NewIndex(), id);
        if (id == selectId)
            selected = combo.NewIndex();
        gRs->MoveNext();
    }
    CloseDb();
    if (selected >= 0)
        combo.setListIndex(selected);
    return selected;
}

QString NameOf(const platform::Recordset& rs, const QString& surnameColumn, const QString& nameColumn)
{
    return rs[surnameColumn].Value().Text() + QStringLiteral(" ") + rs[nameColumn].Value().Text();
}


} // namespace verbanto
