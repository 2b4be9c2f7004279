#include "platform/UserAction.h"

namespace platform {

namespace {
UserAction*& current()
{
    static UserAction* a = nullptr;
    return a;
}
} // namespace

UserAction::UserAction() : outer_(current()) { current() = this; }

UserAction::~UserAction() { current() = outer_; }

void UserAction::MetLockedDatabase()
{
    if (UserAction* a = current())
        a->locked_ = true;
}

bool UserAction::LockedDatabaseMet() { return current() && current()->locked_; }

bool UserAction::MayReport()
{
    UserAction* a = current();
    if (!a || !a->locked_)
        return true;
    if (a->reported_)
        return false;
    a->reported_ = true;
    return true;
}

} // namespace platform
