// Every list, editor and filter window opened while another program locks the file at each of
// the times its opening comes to the file, for that time only or from then on until the window is
// there (a lock that outlasts the program's wait, then ends): the window stays usable or closes,
// and each of its commands afterwards shows at most one message and never crashes (the sanitizer
// run proves the memory). Or the opening goes through and each command meets the lock at one of
// its times: it says so once and stops there, writing nothing after. Each case is a process of
// its own, so that the first opening in the run is the refused one, as on a user's desktop.
#include "cheques/frmAssegniEmessi.h"
#include "cheques/frmEditGirate.h"
#include "cheques/frmEditVersamenti.h"
#include "cheques/frmMieiContiCorrenti.h"
#include "contacts/frmAnagrafica.h"
#include "contacts/frmTipologiaPersone.h"
#include "deadlines/frmPagamenti.h"
#include "harness/DatabaseFaults.h"
#include "harness/TestEnv.h"
#include "mainwindow/OccurrenceEngine.h"
#include "mainwindow/frmEditSettings.h"
#include "mainwindow/frmMain.h"
#include "mainwindow/frmSplashReports.h"
#include "platform/App.h"
#include "platform/Button.h"
#include "platform/FlexGrid.h"
#include "platform/SysTrayIcon.h"
#include "shared/EditorForm.h"
#include <QDate>
#include <QTest>
#include <algorithm>
#include <functional>
#include <tuple>
#include <vector>

using namespace verbanto;
using platform::Form;

namespace {

// The opening stays below this many times at the file (checked by the last case of each window).
constexpr int kTimes = 4;

// One step on the way to a window: the window it opens, and the user's action on the window
// before it (the main window for the first step) that opens it.
struct Step {
    const char* form;
    std::function<void(Form&)> press;
};
struct Window {
    const char* name;
    std::vector<Step> path;
    // The times the last step comes to the file for what the window shows, before the window
    // loads: refused there, no window opens on what could not be read.
    int readsFirst = 0;
    // What the user enters before the commands, so that Ok gets past the checks of the fields.
    std::function<void(Form&)> fill = {};
};

frmMain& Main() { return platform::Forms::Instance<frmMain>(); }

Step FromMain(const char* form, platform::Button* frmMain::*button)
{
    return {form, [button](Form&) { (Main().*button)->PerformClick(); }};
}
// A window the program opens from no other: shown as a click would show it.
template <class F> Step Direct(const char* form)
{
    return {form, [](Form&) { platform::Dispatch([] { platform::Forms::Instance<F>().Show(platform::vbModal); }); }};
}
Step ListCommand(const char* form, platform::Button* ListForm::*button)
{
    return {form, [button](Form& f) { (dynamic_cast<ListForm&>(f).*button)->PerformClick(); }};
}
Step ListRow(const char* form)
{
    return {form, [](Form& f) { dynamic_cast<ListForm&>(f).MSFlexGrid1->UserDoubleClickCell(1, 1); }};
}

// The user picks a combo's first entry with the keyboard.
template <class F> std::function<void(Form&)> PickFirst(platform::ComboBox* F::*combo)
{
    return [combo](Form& f) { QTest::keyClick((dynamic_cast<F&>(f).*combo)->Widget(), Qt::Key_Down); };
}

const Step kDeadlines = FromMain("frmPagamenti", &frmMain::cmdContiCorrenti);
const Step kContacts = FromMain("frmAnagrafica", &frmMain::cmdAnagrafica);
const Step kTypes = Direct<frmTipologiaPersone>("frmTipologiaPersone");
const Step kCheques = Direct<frmAssegniEmessi>("frmAssegniEmessi");
const Step kAccounts = Direct<frmMieiContiCorrenti>("frmMieiContiCorrenti");
const Step kChooser = Direct<frmSplashReports>("frmSplashReports");

const std::vector<Window>& Windows()
{
    static const std::vector<Window> windows{
        {"Deadlines", {kDeadlines}},
        {"NewDeadline", {kDeadlines, ListCommand("frmEditPagamenti", &ListForm::cmdAdd)}},
        {"Deadline", {kDeadlines, ListRow("frmEditPagamenti")}},
        {"DeadlineFilter", {kDeadlines, ListCommand("frmSelectPagamenti", &ListForm::cmdSelect)}},
        {"Contacts", {kContacts}},
        {"Contact", {kContacts, ListRow("frmEditAnagrafica")}},
        {"ContactFilter", {kContacts, ListCommand("frmSelectAnagrafica", &ListForm::cmdSelect)}},
        {"ContactDeadlines", {kContacts, {"frmPagamenti", [](Form& f) {
                                              auto& list = dynamic_cast<frmAnagrafica&>(f);
                                              list.MSFlexGrid1->UserClickCell(1, 1);
                                              list.cmdApriPagamenti->PerformClick();
                                          }}}, 1},
        {"Types", {kTypes}},
        {"Type", {kTypes, ListRow("frmEditTipologiaPersone")}},
        {"TypeFilter", {kTypes, ListCommand("frmSelectTipologiaPersone", &ListForm::cmdSelect)}},
        {"Cheques", {kCheques}},
        {"NewCheque", {kCheques, ListCommand("frmEditAssegniEmessi", &ListForm::cmdAdd)}},
        {"Cheque", {kCheques, ListRow("frmEditAssegniEmessi")}},
        {"ChequeFilter", {kCheques, ListCommand("frmSelectAssegniEmessi", &ListForm::cmdSelect)}},
        {"Accounts", {kAccounts}},
        {"Account", {kAccounts, ListRow("frmEditMieiContiCorrenti")}},
        {"AccountFilter", {kAccounts, ListCommand("frmSelectMieiContiCorrenti", &ListForm::cmdSelect)}},
        {"Endorsement", {Direct<frmEditGirate>("frmEditGirate")}, 0, PickFirst(&frmEditGirate::cboNome)},
        {"Deposit", {Direct<frmEditVersamenti>("frmEditVersamenti")}, 0, PickFirst(&frmEditVersamenti::cboDescrizione)},
        {"Upcoming", {FromMain("frmReportistica", &frmMain::cmdVisualizaScadenze)}, 1},
        {"ReportChooser", {kChooser}},
        {"Report", {kChooser, {"frmReportistica", [](Form& f) { dynamic_cast<frmSplashReports&>(f).cmdShowReport[0]->PerformClick(); }}}},
        {"Settings", {FromMain("frmEditSettings", &frmMain::cmdCambiaIntestazione)}},
    };
    return windows;
}

// A command of the window: a button by name and index, or a key or double click on a list's grid.
struct Command {
    QString name;
    int index;
    QString Text() const { return index < 0 ? name : name + QLatin1Char('(') + QString::number(index) + QLatin1Char(')'); }
};

// What the user can do in a window, in an order that leaves the commands that close it last.
std::vector<Command> CommandsOf(const Form& f)
{
    std::vector<Command> first, last;
    if (dynamic_cast<const ListForm*>(&f))
        first = {{QStringLiteral("grid:header"), -1}, {QStringLiteral("grid:dblclick"), -1}, {QStringLiteral("grid:enter"), -1},
                 {QStringLiteral("grid:delete"), -1}};
    for (platform::Control* c : f.Controls())
        if (dynamic_cast<platform::Button*>(c)) {
            const bool closes = c->Name == QLatin1String("cmdCancel") || c->Name == QLatin1String("cmdClose");
            (closes ? last : first).push_back({c->Name, c->Index});
        }
    first.insert(first.end(), last.begin(), last.end());
    return first;
}

// Does it as the user would; a button hidden or disabled can't be pressed.
void Press(Form& f, const Command& command)
{
    if (command.name.startsWith(QLatin1String("grid:"))) {
        platform::FlexGrid& grid = *dynamic_cast<ListForm&>(f).MSFlexGrid1;
        if (command.name == QLatin1String("grid:header"))
            grid.UserClickHeader(std::min(1, grid.Cols() - 1));
        // On the first data row, or on the header when the grid has none.
        else if (command.name == QLatin1String("grid:dblclick") && grid.Rows() > 1)
            grid.UserDoubleClickCell(1, std::min(1, grid.Cols() - 1));
        else if (command.name == QLatin1String("grid:dblclick"))
            grid.UserDoubleClickHeader(0);
        else
            grid.UserPressKey(command.name == QLatin1String("grid:enter") ? platform::vbKeyReturn : platform::vbKeyDelete);
        return;
    }
    for (platform::Control* c : f.Controls())
        if (c->Name == command.name && c->Index == command.index) {
            auto* button = dynamic_cast<platform::Button*>(c);
            if (button && button->Visible() && button->Enabled())
                button->PerformClick();
            return;
        }
}

// What the user was told: message boxes that ask nothing. A note that something went well (a
// save whose after-work then failed) is no second report.
size_t Told()
{
    size_t n = platform::Script::Of(QStringLiteral("plainmsgbox")).size();
    for (const auto& m : platform::Script::Of(QStringLiteral("msgbox")))
        n += (m.style & 0xF) == 0 && (m.style & 0xF0) != platform::vbInformation ? 1 : 0;
    return n;
}

// Where the lock falls: at the opening, that time only or from then on until the window is there;
// or on each command of the window, at that time of the command only.
enum class Refusal { Once, From, EachCommand };
void PrintTo(Refusal r, std::ostream* os) { *os << (r == Refusal::Once ? "once" : r == Refusal::From ? "from" : "each command"); }

class RefusedOpeningSweep : public VerbantoTest, public ::testing::WithParamInterface<std::tuple<int, int, Refusal>> {
protected:
    void SetUp() override
    {
        VerbantoTest::SetUp();
        platform::App::setCommandLine(QString());
        platform::SysTrayIcon::setAvailable(std::nullopt);
        SetEngineClock([] { return QDate(2024, 2, 25); });
        Sql(QStringLiteral("insert into TipologiaPersone (TIPOLOGIAID, Tipologia) values (2, 'Cliente')"));
        Sql(QStringLiteral("insert into anagrafica (anagraficaid, tipologiaid, cognome, nome) values (1, 2, 'Rossi', 'Mario')"));
        Sql(QStringLiteral("insert into pagamenti (pagamentiid, anagraficaid, datapagamento, importo, causale) "
                           "values (7, 1, '2024-02-27 00:00:00', 0, 'Rata')"));
        Sql(QStringLiteral("insert into MieiContiCorrenti values (3, 'Conto casa', 'Banca Centrale', '01234', '05678', "
                           "'1000/22', 'Mario Rossi', '2024-01-01 09:00:00', null)"));
        Sql(QStringLiteral("insert into AssegniEmessi (CONTOCORRENTEID, ANAGRAFICAID, Numero, DataAssegno, Importo) "
                           "values (3, 1, '42', '2024-03-15 00:00:00', 10.5)"));
        Sql(QStringLiteral("insert into reportistica values ('select ''Rata'' as Causale', 'Primo', 0, null, null, null, null, 1)"));
        // What nobody scripted is answered as a user who says no: questions No, dialogs cancelled,
        // windows closed at once.
        platform::Script::SetFailureHandler([](const QString& m) {
            if (!m.startsWith(QLatin1String("unexpected ")))
                ADD_FAILURE() << m.toStdString();
        });
        Main().Start();
        ASSERT_TRUE(Main().Loaded());
        platform::Forms::Instance<frmPagamenti>().mPagamentiID = 7;   // the deadline in hand
    }
    void TearDown() override
    {
        lock_.Off();
        SetEngineClock({});
        VerbantoTest::TearDown();
    }

    // Opens the window along its path, the lock (if on the opening) set just before the last
    // step; the driver gets the window once it is there (the lock has ended then), and is not
    // called when the window closed in its opening.
    void Open(const Window& w, int refused, Refusal refusal, std::function<void(Form&)> driver)
    {
        wasRefused_ = false;
        times_ = 0;
        std::function<void(size_t, Form&)> step = [&](size_t k, Form& before) {
            const bool target = k + 1 == w.path.size();
            ExpectModalNamed(QString::fromLatin1(w.path[k].form), [&, k, target](Form& f) {
                if (!target)
                    return step(k + 1, f);
                settle();
                driver(f);
            });
            if (target) {
                platform::Script::Clear();
                if (refusal == Refusal::From)
                    lock_.From(refused);
                else if (refusal == Refusal::Once)
                    lock_.Once(refused);
            }
            w.path[k].press(before);
            if (target)
                settle();
        };
        step(0, Main());
        platform::Script::ForgetExpectedModals();
    }

    LockAt lock_;
    bool wasRefused_ = false;   // by the last opening
    int times_ = 0;             // at the file, in the last opening

private:
    void settle()
    {
        if (!lock_.Counting())
            return;
        wasRefused_ = lock_.Refused();
        times_ = lock_.Times();
        lock_.Off();
    }
};

TEST_P(RefusedOpeningSweep, EveryCommandAfterwardsSaysAtMostOneThingAndNothingCrashes)
{
    const Window& w = Windows()[static_cast<size_t>(std::get<0>(GetParam()))];
    const int refused = std::get<1>(GetParam());
    const Refusal refusal = std::get<2>(GetParam());
    const bool atCommands = refusal == Refusal::EachCommand;
    std::vector<Command> commands;
    size_t next = 0;
    bool opened = false;
    bool commandRefused = false;
    // When a command closes the window, it opens again, refused as before, for the next ones.
    for (int round = 0; round == 0 || (opened && next < commands.size()); ++round) {
        opened = false;
        Open(w, refused, refusal, [&](Form& f) {
            opened = true;
            EXPECT_EQ(Told(), wasRefused_ ? 1u : 0u) << w.name << ": the opening said " << LastMessage().toStdString();
            EXPECT_FALSE(wasRefused_ && refused < w.readsFirst) << w.name << " opened on what could not be read";
            // What saves the fields it shows closes when its load could not read them all, as under
            // a lock that lasts until it is there.
            const bool saves = dynamic_cast<EditorForm*>(&f) || dynamic_cast<frmEditSettings*>(&f);
            EXPECT_FALSE(wasRefused_ && refusal == Refusal::From && saves)
                << w.name << " opened with fields it could not read, to save them so";
            if (!wasRefused_ && !atCommands && round == 0)
                return;
            if (commands.empty())
                commands = CommandsOf(f);
            if (w.fill)
                w.fill(f);
            for (; next < commands.size() && f.Loaded(); ++next) {
                const size_t before = Told();
                if (atCommands)
                    lock_.Once(refused);
                try {
                    Press(f, commands[next]);
                } catch (...) {
                    ADD_FAILURE() << w.name << ": the user could not do " << commands[next].Text().toStdString();
                }
                if (atCommands) {
                    commandRefused = commandRefused || lock_.Refused();
                    EXPECT_FALSE(lock_.WroteAfterRefusal())
                        << w.name << ", " << commands[next].Text().toStdString() << " went on to write after the refusal";
                    lock_.Off();
                }
                EXPECT_LE(Told() - before, 1u) << w.name << ", " << commands[next].Text().toStdString() << ": "
                                               << LastMessage().toStdString();
            }
        });
        if (!opened) {
            // It closed in its opening: said once, and the program goes on.
            EXPECT_EQ(Told(), wasRefused_ ? 1u : 0u) << w.name << ": " << LastMessage().toStdString();
            EXPECT_TRUE(Main().Loaded());
        }
        if (round == 0 && !atCommands && !wasRefused_)
            GTEST_SKIP() << w.name << " comes to the file " << times_ << " times only";
        if (round == 0 && !atCommands) {
            EXPECT_LT(refused, kTimes - 1) << w.name << " comes to the file more often than the sweep refuses";
        }
    }
    if (atCommands && !commandRefused)
        GTEST_SKIP() << "No command of " << w.name << " comes to the file " << refused + 1 << " times";
}

INSTANTIATE_TEST_SUITE_P(Windows, RefusedOpeningSweep,
                         ::testing::Combine(::testing::Range(0, static_cast<int>(Windows().size())), ::testing::Range(0, kTimes),
                                            ::testing::Values(Refusal::Once, Refusal::From, Refusal::EachCommand)),
                         [](const auto& info) {
                             const Refusal refusal = std::get<2>(info.param);
                             return std::string(Windows()[static_cast<size_t>(std::get<0>(info.param))].name) +
                                    (refusal == Refusal::From ? "_from" : refusal == Refusal::EachCommand ? "_command" : "_") +
                                    std::to_string(std::get<1>(info.param));
                         });

} // namespace
