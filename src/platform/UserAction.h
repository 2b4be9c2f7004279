#pragma once
// One user action: a handler the user started, with everything it calls. When the database is
// found locked by another program during an action, one report tells the user; the rest of the
// action neither waits for the lock again nor reports what only follows from it (a query that
// can't run, a recordset left closed). Actions nest: a modal window's own events are actions of
// their own.
namespace platform {

class UserAction {
public:
    UserAction();
    ~UserAction();
    UserAction(const UserAction&) = delete;
    UserAction& operator=(const UserAction&) = delete;

    // The database was found locked by another program (called by the data layer).
    static void MetLockedDatabase();
    // Whether the action under way has met a locked database: no more waiting for it.
    static bool LockedDatabaseMet();
    // Whether an error report may be shown now: always, but once the action has met a locked
    // database, only the first report after it.
    static bool MayReport();

private:
    UserAction* outer_;
    bool locked_ = false;
    bool reported_ = false;
};

} // namespace platform
