// The deadline editor's date on a real desktop: typed with the keyboard, a date that does not
// exist is refused with the window's message box, and nothing is written.
#include "desktop/DesktopSession.h"
#include "platform/SqlLite.h"
#include <gtest/gtest.h>

using desktop::DesktopSession;
using desktop::WaitFor;

namespace {

const QString kMain = QStringLiteral("Gestione Verbanto 1.0");
const QString kEditor = QStringLiteral("Scadenze");
const QString kMessageTitle = QStringLiteral("Gestione Verbanto");
const QString kWrongDate = QStringLiteral("Formato della data della scadenza non valido");

class DesktopDateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        session_ = std::make_unique<DesktopSession>(DesktopSession::Options{.accessibility = true});
        ASSERT_EQ(session_->Error(), QString());
        S().Sql(QStringLiteral("insert into TipologiaPersone (TIPOLOGIAID, Tipologia) values (2, 'Cliente')"));
        S().Sql(QStringLiteral("insert into anagrafica (anagraficaid, tipologiaid, cognome, nome) values (5, 2, 'Bianchi', 'Anna')"));
    }
    void TearDown() override
    {
        if (HasFailure() && session_) {
            std::printf("program output:\n%s\n", qPrintable(session_->ProgramLog()));
            if (qEnvironmentVariableIsSet("VERBANTO_DESKTOP_SHOT"))
                session_->Grab(0).save(qEnvironmentVariable("VERBANTO_DESKTOP_SHOT"));
        }
        session_.reset();
    }
    DesktopSession& S() { return *session_; }

    long long Deadlines()
    {
        platform::SqlLiteConnection c;
        c.OpenDatabase(S().DbFile(), QString());
        return c.OpenRecordset(QStringLiteral("select count(*) from pagamenti"))->Fields(0).Value().Text().toLongLong();
    }
    bool MessageShown() { return S().AccessibleShown(QStringLiteral("label"), kWrongDate); }
    bool MessageGone() { return S().WindowsNamed(kMessageTitle).empty(); }

private:
    std::unique_ptr<DesktopSession> session_;
};

} // namespace

TEST_F(DesktopDateTest, ADateThatDoesNotExistIsRefusedWithAMessageAndNothingIsWritten)
{
    ASSERT_TRUE(S().StartProgram());
    ASSERT_TRUE(S().WaitForWindow(kMain));
    S().Activate(S().WindowsNamed(kMain).front().id);
    S().Key(QStringLiteral("alt+g"));   // the empty register opens the editor of a new deadline at once
    ASSERT_TRUE(S().WaitForWindow(kEditor));
    S().Activate(S().WindowsNamed(kEditor).front().id);

    // The contact, then Tab to the date, typed over the one shown.
    S().Key(QStringLiteral("Down Tab"));
    S().Run(QStringLiteral("xdotool"), {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("50"), QStringLiteral("31/11/2026")});
    S().Key(QStringLiteral("Return"));
    ASSERT_TRUE(S().WaitForWindow(kMessageTitle)) << "no message box";
    EXPECT_TRUE(WaitFor([&] { return MessageShown(); })) << "not the date's message";
    EXPECT_EQ(Deadlines(), 0);

    // Back in the editor the typed date is still there: Enter is refused again.
    S().Key(QStringLiteral("Return"));
    ASSERT_TRUE(WaitFor([&] { return MessageGone(); }));
    S().Key(QStringLiteral("Return"));
    ASSERT_TRUE(S().WaitForWindow(kMessageTitle)) << "the editor took another date";
    EXPECT_TRUE(WaitFor([&] { return MessageShown(); }));
    S().Key(QStringLiteral("Return"));
    ASSERT_TRUE(WaitFor([&] { return MessageGone(); }));

    // Annulla is never held back by the date.
    S().Key(QStringLiteral("Escape"));
    EXPECT_TRUE(WaitFor([&] { return S().WindowsNamed(kEditor).empty(); }));
    EXPECT_EQ(Deadlines(), 0);
}
