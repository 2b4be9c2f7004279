#include "shared/TracedProcedure.h"
#include "platform/UserAction.h"
#include "shared/basRegistering.h"
#include <exception>

namespace verbanto {

QString StandardErrorText(long number, const QString& description, const QString& procedure, const QString& where,
                          bool isForm)
{
    return QStringLiteral("Error ") + QString::number(number) + QStringLiteral(" (") + description +
           QStringLiteral(") in procedure ") + procedure + (isForm ? QStringLiteral(" of Form ") : QStringLiteral(" of Modulo ")) +
           where;
}

namespace {
long gErrorsMet = 0;
} // namespace

bool WithoutErrors(const std::function<void()>& body)
{
    const long before = gErrorsMet;
    body();
    return gErrorsMet == before;
}

void ShowStandardError(long number, const QString& description, const QString& procedure, const QString& where, bool isForm)
{
    ++gErrorsMet;
    if (!platform::UserAction::MayReport())
        return;   // the action's one fault has been told
    MyMsgBox(StandardErrorText(number, description, procedure, where, isForm), platform::vbExclamation,
             QStringLiteral("Gestione Verbanto"));
}

void CurrentError(long* number, QString* description)
{
    try {
        throw;
    } catch (const platform::VbError& e) {
        *number = e.Number;
        *description = e.Description;
    } catch (const std::bad_alloc&) {
        *number = 7;
        *description = QStringLiteral("Out of memory");
    } catch (const std::exception& e) {
        *number = 5;
        *description = QString::fromUtf8(e.what());
    } catch (...) {
        *number = 5;
        *description = platform::Err::Description(5);
    }
}

} // namespace verbanto
