#pragma once

#include <QString>

namespace vantik {

class ClaimFormClasses;
class Connection;

/// The host's current-user component: it logs the user in, owns the database
/// connection and the user log, and gives the claim-form library. Members keep
/// the host's names; a failing member throws (ComponentError or DatabaseError).
class CurrentUser {
public:
    virtual ~CurrentUser() = default;

    /// The department code the user must belong to; set before ShowMain.
    virtual void PasswordDeptCode(const QString& deptCode) = 0;
    /// The folder of the program's executable.
    virtual void setexepath(const QString& folder) = 0;
    /// Conducts the log-in and returns when it is over.
    virtual void ShowMain() = 0;
    /// True when the log-in succeeded and the connection is open.
    virtual bool Connected() const = 0;
    /// The open connection; throws ComponentError when not connected.
    virtual Connection& sqlconnection() = 0;
    /// Appends one line to the user log; show makes sure the log window is visible.
    virtual void addlog(const QString& text, bool show = false) = 0;
    /// The claim-form library.
    virtual ClaimFormClasses& VODURIZevevar() = 0;
    /// The logged-in user as the users table spells the name: what the program's own
    /// tables record as who changed a row. Empty before the log-in, and from a
    /// component that does not say.
    virtual QString userName() const { return QString(); }
};

} // namespace vantik
