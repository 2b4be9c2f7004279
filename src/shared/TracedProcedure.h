#pragma once
// The machinery every traced procedure repeats: trace the entry, run the body, and on a failure
// show the standard error report naming the procedure and its module or form, then return the
// default value. ResumeNext runs a statement whose failure is passed over.
#include "platform/Forms.h"
#include "platform/VbError.h"
#include <QString>
#include <exception>
#include <functional>
#include <type_traits>

namespace verbanto {

void traceProcedure(const QString& moduleOrForm, const QString& procedure);

// "Error 13 (Type mismatch) in procedure cmdOK_Click of Form frmEditPagamenti"
QString StandardErrorText(long number, const QString& description, const QString& procedure,
                          const QString& where, bool isForm);
void ShowStandardError(long number, const QString& description, const QString& procedure,
                       const QString& where, bool isForm);
// Runs the body; true when the standard error report was given nothing in it, shown or not
// (one fault of a user action is told once): whether a load or a read went through.
bool WithoutErrors(const std::function<void()>& body);
// The error currently being handled as number and description.
void CurrentError(long* number, QString* description);

template <class F>
auto Traced(const QString& where, bool isForm, const QString& procedure, F&& body) -> decltype(body())
{
    using R = decltype(body());
    traceProcedure(where, procedure);
    try {
        return body();
    } catch (...) {
        long n;
        QString d;
        CurrentError(&n, &d);
        ShowStandardError(n, d, procedure, where, isForm);
        if constexpr (!std::is_void_v<R>)
            return R{};
    }
}

// A procedure of a module.
template <class F> auto ModProc(const char* module, const char* procedure, F&& body)
{
    return Traced(QString::fromLatin1(module), false, QString::fromLatin1(procedure), std::forward<F>(body));
}
// A procedure of a form.
template <class F> auto FormProc(const platform::Form& form, const char* procedure, F&& body)
{
    return Traced(form.Name, true, QString::fromLatin1(procedure), std::forward<F>(body));
}

// Runs a statement, passing over its failure.
template <class F> void ResumeNext(F&& statement)
{
    try {
        statement();
    } catch (...) {
    }
}

} // namespace verbanto
