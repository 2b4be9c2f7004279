// Procedure trace, log file and the standard error report.
#include "harness/TestEnv.h"
#include "shared/basGeneral.h"
#include "shared/basGeneralCustom.h"
#include "shared/basRegistering.h"
#include "shared/TracedProcedure.h"
#include <QDir>
#include <QFile>
#include <QRegularExpression>

using namespace verbanto;

class TraceLogTest : public VerbantoTest {
protected:
    QStringList LogLines()
    {
        QFile f(Folder() + "/brimtel3.log");
        if (!f.open(QIODevice::ReadOnly))
            return {};
        const QString all = QString::fromUtf8(f.readAll());
        EXPECT_TRUE(all.isEmpty() || all.endsWith("\r\n"));
        QStringList lines = all.split("\r\n");
        lines.removeAll(QString());
        return lines;
    }
};

TEST_F(TraceLogTest, OneTracedEntryAppendsOneLine)
{
    OpenProgramDb();
    gLogStatus = "ON";
    getSetting("ORIZTEMP");
    const QStringList lines = LogLines();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines.first().endsWith("] basGeneralCustom::getSetting"));
    EXPECT_TRUE(QRegularExpression(R"(^\[\d\d/\d\d/\d{4} - \d\d:\d\d:\d\d\] )").match(lines.first()).hasMatch())
        << lines.first().toStdString();
    EXPECT_EQ(gCurrentProc, "basGeneral::CloseDb");
}

TEST_F(TraceLogTest, OnlyExactlyOnLogs)
{
    for (const char* v : {"on", "ON ", "OFF", ""}) {
        gLogStatus = v;
        traceProcedure("frmMain", "Form_Load");
    }
    EXPECT_TRUE(LogLines().isEmpty());
    EXPECT_EQ(gCurrentProc, "frmMain::Form_Load");
}

TEST_F(TraceLogTest, LogIsAppendedAcrossEntries)
{
    gLogStatus = "ON";
    traceProcedure("frmA", "One");
    traceProcedure("frmB", "Two");
    const QStringList lines = LogLines();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[1].endsWith("] frmB::Two"));
}

TEST_F(TraceLogTest, QuotingATextLogsPadThenStringReplace)
{
    gLogStatus = "ON";
    EXPECT_EQ(Pad("l'arco"), "l''arco");
    const QStringList lines = LogLines();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].endsWith("] basGeneral::Pad")) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].endsWith("] basGeneral::StringReplace")) << lines[1].toStdString();
}

TEST_F(TraceLogTest, UnwritableLogIsReportedAndTheProcedureGoesOn)
{
    QDir().mkpath(Folder() + "/brimtel3.log");   // a folder where the file should be
    gLogStatus = "ON";
    const QString r = StringReplace("abc", "b", "x");
    EXPECT_EQ(r, "axc");
    ASSERT_FALSE(Messages().empty());
    EXPECT_TRUE(Messages()[0].prompt.startsWith("Error ") && Messages()[0].prompt.endsWith("in procedure addToLog of Modulo basGeneralCustom"))
        << Messages()[0].prompt.toStdString();
}

TEST_F(TraceLogTest, StandardReportNamesFormOrModule)
{
    EXPECT_EQ(StandardErrorText(13, "Type mismatch", "cmdOK_Click", "frmEditPagamenti", true),
              "Error 13 (Type mismatch) in procedure cmdOK_Click of Form frmEditPagamenti");
    const int r = ModProc("basGeneral", "Demo", [] { return platform::Variant("abc").CInt(); });
    EXPECT_EQ(r, 0);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].prompt, "Error 13 (Type mismatch) in procedure Demo of Modulo basGeneral");
    EXPECT_EQ(Messages()[0].style, 48);
    EXPECT_EQ(Messages()[0].title, "Gestione Verbanto");
}

TEST_F(TraceLogTest, MessageBoxReturnsTheButtonPressed)
{
    platform::Script::AnswerMsgBox(platform::vbNo);
    EXPECT_EQ(MyMsgBox("Sei sicuro?", 4, "Gestione Verbanto"), 7);
    EXPECT_EQ(MyMsgBox("Fatto", 64, "Gestione Verbanto"), 1);
}

TEST_F(TraceLogTest, AnUnwritableLogIsReportedOnceThenTheRunGoesOnWithoutIt)
{
    OpenProgramDb();
    QDir().mkpath(Folder() + "/brimtel3.log");
    gLogStatus = "ON";
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(getSetting("ORIZTEMP"), "30");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_TRUE(Messages()[0].prompt.endsWith("in procedure addToLog of Modulo basGeneralCustom"));
}

TEST_F(TraceLogTest, OpenDbEntersOpenSqlLiteDbAlsoWhenTheConnectionIsOpen)
{
    OpenProgramDb();
    gLogStatus = "ON";
    OpenDb();
    const QStringList lines = LogLines();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].endsWith("] basGeneral::OpenDb"));
    EXPECT_TRUE(lines[1].endsWith("] basRegistering::isSqlLite"));
    EXPECT_TRUE(lines[2].endsWith("] basGeneral::OpenSqlLiteDb"));
}
