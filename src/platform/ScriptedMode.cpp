#include "platform/ScriptedMode.h"
#include "platform/Forms.h"
#include "platform/MsgBoxDialog.h"
#include <cstdio>
#include <cstdlib>

namespace platform::Script {

namespace {
struct State {
    bool active = false;
    std::deque<int> msgAnswers;
    std::deque<QString> inputAnswers;
    std::deque<QString> saveAnswers;
    std::deque<std::pair<QString, std::function<void(Form&)>>> modals;
    std::vector<Shown> history;
    std::function<void(const QString&)> failure;
};
State& st()
{
    static State s;
    return s;
}
} // namespace

bool Active() { return st().active; }
void Enable() { st().active = true; }

void AnswerMsgBox(int code) { st().msgAnswers.push_back(code); }
void AnswerInputBox(const QString& text) { st().inputAnswers.push_back(text); }
void AnswerSaveDialog(const QString& path) { st().saveAnswers.push_back(path); }
void ExpectModal(const QString& formName, std::function<void(Form&)> driver)
{
    st().modals.emplace_back(formName, std::move(driver));
}

void ForgetExpectedModals() { st().modals.clear(); }

std::vector<Shown>& History() { return st().history; }

std::vector<Shown> Of(const QString& kind)
{
    std::vector<Shown> out;
    for (const auto& s : st().history)
        if (s.kind == kind)
            out.push_back(s);
    return out;
}

void Clear() { st().history.clear(); }

void Record(const Shown& s) { st().history.push_back(s); }

int NextMsgBoxAnswer(const QString& prompt, int style, const QString& title)
{
    Record({QStringLiteral("msgbox"), prompt, style, title});
    if ((style & 0xF) == 0)
        return vbOK;
    if (st().msgAnswers.empty()) {
        Fail(QStringLiteral("unexpected question: ") + prompt);
        return vbNo;
    }
    const int a = st().msgAnswers.front();
    st().msgAnswers.pop_front();
    return a;
}

QString NextInputBoxAnswer(const QString& prompt, const QString& title)
{
    Record({QStringLiteral("inputbox"), prompt, 0, title});
    if (st().inputAnswers.empty()) {
        Fail(QStringLiteral("unexpected input box: ") + prompt);
        return QString();
    }
    const QString a = st().inputAnswers.front();
    st().inputAnswers.pop_front();
    return a;
}

QString NextSaveDialogAnswer(const QString& filter)
{
    Record({QStringLiteral("save"), filter, 0, QString()});
    if (st().saveAnswers.empty()) {
        Fail(QStringLiteral("unexpected save dialog"));
        return QString();
    }
    const QString a = st().saveAnswers.front();
    st().saveAnswers.pop_front();
    return a;
}

void RunModal(Form& form)
{
    Record({QStringLiteral("modal"), form.Name, 0, form.Caption()});
    if (st().modals.empty() || st().modals.front().first != form.Name) {
        Fail(QStringLiteral("unexpected window ") + form.Name +
             (st().modals.empty() ? QString() : QStringLiteral(" (expected ") + st().modals.front().first + QStringLiteral(")")));
        return;
    }
    auto driver = std::move(st().modals.front().second);
    st().modals.pop_front();
    if (driver)
        driver(form);
}

int PendingAnswers()
{
    return static_cast<int>(st().msgAnswers.size() + st().inputAnswers.size() + st().saveAnswers.size() + st().modals.size());
}

void SetFailureHandler(std::function<void(const QString&)> h) { st().failure = std::move(h); }

void Fail(const QString& message)
{
    if (st().failure) {
        st().failure(message);
        return;
    }
    std::fprintf(stderr, "script: %s\n", qPrintable(message));
    std::abort();
}

} // namespace platform::Script
