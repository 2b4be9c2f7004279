#pragma once
// What the desktop tests share: a desktop of the test's own with the program's database ready,
// the program's windows and menu as a user sees them, and what failed when a test fails.
#include "desktop/DesktopSession.h"
#include <QDate>
#include <gtest/gtest.h>
#include <memory>

namespace desktop {

inline const QString kMain = QStringLiteral("Gestione Verbanto 1.0");
inline const QString kGrid = QStringLiteral("Gestione Verbanto 1.0 - Prossime scadenze");
inline const QString kDeadlines = QStringLiteral("Gestione Scadenze");

class DesktopTest : public ::testing::Test {
protected:
    void Open(DesktopSession::Options options = {})
    {
        session_ = std::make_unique<DesktopSession>(options);
        ASSERT_EQ(session_->Error(), QString());
        // A contact type, so no first-run editor comes in between.
        S().Sql(QStringLiteral("insert into TipologiaPersone (TIPOLOGIAID, Tipologia) values (2, 'Cliente')"));
    }
    void TearDown() override
    {
        if (HasFailure() && session_) {
            std::printf("program output:\n%s\nthe program's windows:\n", qPrintable(session_->ProgramLog()));
            for (const WindowInfo& w : session_->ProgramWindows())
                std::printf("  %lu \"%s\" %d,%d %dx%d%s\n", w.id, qPrintable(w.name), w.geometry.x(), w.geometry.y(),
                            w.geometry.width(), w.geometry.height(), w.overrideRedirect ? " override-redirect" : "");
            // For a closer look: the whole screen as the test left it.
            if (qEnvironmentVariableIsSet("VERBANTO_DESKTOP_SHOT"))
                session_->Grab(0).save(qEnvironmentVariable("VERBANTO_DESKTOP_SHOT"));
        }
        session_.reset();
    }
    DesktopSession& S() { return *session_; }

    void Contact() { S().Sql(QStringLiteral("insert into anagrafica (anagraficaid, tipologiaid, cognome, nome) values (5, 2, 'Bianchi', 'Anna')")); }
    // A deadline once, long past: the deadline list has a row and there is no balloon.
    void PastDeadline()
    {
        Contact();
        S().Sql(QStringLiteral("insert into pagamenti (anagraficaid, datapagamento, importo, causale) values (5, '2000-01-03 00:00:00', 0, 'Bollo')"));
    }
    // A daily deadline from today on: there are upcoming occurrences, so the balloon shows.
    void DeadlineFromToday()
    {
        Contact();
        S().Sql(QStringLiteral("insert into pagamenti (anagraficaid, datapagamento, importo, causale) values (5, '") +
                QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 00:00:00', 1, 'Affitto')"));
    }

    WindowInfo MainWindow()
    {
        const auto w = S().WindowsNamed(kMain);
        return w.empty() ? WindowInfo{} : w.front();
    }
    bool Visible(unsigned long id)
    {
        for (const WindowInfo& w : S().ProgramWindows())
            if (w.id == id)
                return true;
        return false;
    }
    // What a window asks of the window manager (the Motif hints): whether its caption bar has
    // that button. Openbox follows them only in part: it never takes the minimise button away,
    // and it offers no maximise only to a window that can't be resized.
    static constexpr unsigned kMwmMinimize = 8;
    static constexpr unsigned kMwmMaximize = 16;
    bool AsksFor(unsigned long id, unsigned function)
    {
        const std::vector<unsigned long> hints = S().Numbers(id, QStringLiteral("_MOTIF_WM_HINTS"));
        if (hints.size() < 2 || !(hints[0] & 1) || (hints[1] & 1))
            return true;   // no functions given, or all of them
        return hints[1] & function;
    }
    // Hidden by the program itself, not just minimised: the window manager has let it go.
    bool Withdrawn(unsigned long id) { return S().Numbers(id, QStringLiteral("WM_STATE")).empty(); }
    // Minimised by the window manager, and still in its list.
    bool Iconic(unsigned long id)
    {
        const std::vector<unsigned long> state = S().Numbers(id, QStringLiteral("WM_STATE"));
        return !state.empty() && state.front() == 3;
    }
    QString AllowedActions(unsigned long id)
    {
        QStringList actions;
        WaitFor([&] {
            actions = S().Atoms(id, QStringLiteral("_NET_WM_ALLOWED_ACTIONS"));
            return actions.contains(QStringLiteral("_NET_WM_ACTION_CLOSE"));
        });
        return actions.join(QLatin1Char(' '));
    }
    void StartShowingMain(const QStringList& arguments = {})
    {
        ASSERT_TRUE(S().StartProgram(arguments));
        ASSERT_TRUE(S().WaitForWindow(kMain)) << "the main window did not show";
    }
    // "Apri" from the icon's menu.
    void OpenFromIcon()
    {
        ASSERT_TRUE(RightClickIcon()) << "no menu";
        S().Key(QStringLiteral("Down Return"));
    }
    // Whether the icon's menu opened.
    bool RightClickIcon()
    {
        const WindowInfo icon = S().TrayIcon();
        if (!icon.id)
            return false;
        S().Click(icon.geometry.center(), 3);
        return WaitFor([&] { return S().PopupMenu().id != 0; });
    }

    // The menu's text lines from top to bottom: '+' for an item that can be chosen, '-' for one
    // drawn unavailable (grey); the separator is too thin to be a line of text.
    static QString ItemStates(const QImage& menu)
    {
        const int background = qGray(menu.pixel(menu.width() / 2, 2));
        std::vector<int> darkest;   // per row inside the frame
        for (int y = 3; y < menu.height() - 3; ++y) {
            int d = 255;
            for (int x = 4; x < menu.width() - 4; ++x)
                d = std::min(d, qGray(menu.pixel(x, y)));
            darkest.push_back(d);
        }
        darkest.push_back(255);   // ends the last line
        QString states;
        int start = -1, ink = 255;
        for (int i = 0; i < static_cast<int>(darkest.size()); ++i) {
            if (darkest[i] < background - 40) {
                if (start < 0)
                    start = i, ink = 255;
                ink = std::min(ink, darkest[i]);
            } else if (start >= 0) {
                if (i - start >= 5)
                    states += ink < 90 ? QLatin1Char('+') : QLatin1Char('-');
                start = -1;
            }
        }
        return states;
    }

private:
    std::unique_ptr<DesktopSession> session_;
};


} // namespace desktop
