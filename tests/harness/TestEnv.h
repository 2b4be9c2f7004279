#pragma once
// Every test runs in a fresh temporary program folder holding a database made from the schema,
// with the message box, input box, save dialog, print preview and modal windows scripted.
#include "platform/App.h"
#include "platform/Forms.h"
#include "platform/MsgBoxDialog.h"
#include "platform/ScriptedMode.h"
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

// Texts in failure reports as text.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

class VerbantoTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The temporary program folder, without a trailing "/".
    QString Folder() const;
    QString DbFile() const;
    // Opens the program's database the way the main window's load does (kind, file, memodb, updates).
    void OpenProgramDb();
    // Direct access to the database file, beside the program's own connection.
    void Sql(const QString& statement);
    QString Scalar(const QString& query);
    long long Count(const QString& table, const QString& where = QString());
    // A file's whole content, to tell that it was left as it was.
    static QByteArray FileBytes(const QString& path);
    // A text as SQLite gives a stored text's type and bytes ("select typeof(c) || ':' || hex(c)").
    static QString TypeAndHex(const QString& text);
    // The process's local time zone from now on; set before any date is computed.
    static void UseTimeZone(const char* zone);

    // Messages shown so far.
    std::vector<platform::Script::Shown> Messages() const { return platform::Script::Of("msgbox"); }
    QString LastMessage() const;

    template <class F> void ExpectModal(std::function<void(F&)> driver)
    {
        platform::Script::ExpectModal(F().Name, [driver](platform::Form& f) {
            F* typed = dynamic_cast<F*>(&f);
            ASSERT_NE(typed, nullptr) << "unexpected window " << f.Name.toStdString();
            driver(*typed);
        });
    }
    // Expect a modal window by name with no action but closing it.
    void ExpectModalNamed(const QString& name, std::function<void(platform::Form&)> driver = {});

    // The user at the keyboard and the mouse: the window made active; keys go to the widget that
    // has the focus, a click to the middle of a control's widget.
    static void Activate(platform::Form& form);
    static QWidget* Focused();
    static void Keys(const QString& text);
    static void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    static void ClickOn(const platform::Control& control);
    // Everything in the focused field selected and replaced by the text typed.
    static void Retype(const QString& text);

private:
    std::unique_ptr<QTemporaryDir> dir_;
};
