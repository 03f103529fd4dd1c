#pragma once

#include "host/claimforms/claim_form_classes.h"
#include "host/data/connection.h"
#include "host/ui/clock.h"
#include "host/ui/message_loop.h"
#include "host/user/current_user.h"

#include <QHash>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace vantik::test {

/// A claim-form library that records every call ("UseClasses true", "InitWithDB",
/// ...) into a shared journal; a member named in failing throws instead.
class FakeClaimFormClasses : public ClaimFormClasses, public InsuranceForm {
public:
    explicit FakeClaimFormClasses(QStringList& journal)
        : m_journal(journal)
    {
    }

    void UseClasses(bool value) override;
    void InitWithDB() override;
    std::shared_ptr<ClaimForm> clsCF4() override;
    void SetPatient(const QString& hospNum, const QString& idNum, const QString& station, bool flag) override;
    InsuranceForm& insurance() override { return *this; }
    void PrintGrid(const QString& title, FlexGrid& grid) override;
    void ShowForm() override;

    /// Records a call in the journal; throws when its member is in failing.
    void call(const QString& entry);

    QStringList failing;
    /// What verifydata gives per identifier (empty: complete); the identifiers
    /// whose ValidateRequirements is false.
    QHash<QString, QString> findings;
    QStringList invalid;
    /// The outcome texts LoadDocOrders and ImportOrders write.
    QString loadOutcome = QStringLiteral("found");
    QString importOutcome = QStringLiteral("new");
    /// Runs inside ImportOrders after its journal entry (to throw what the real one may).
    std::function<void(const QString& idNum)> importing;
    /// The grid of every PrintGrid call, in order.
    std::vector<const FlexGrid*> printedGrids;
    /// Every property set on the claim-form objects handed out ("IDNUM 24000001",
    /// "StationID Worklist", "nonmodal true", ...), in order.
    QStringList formSettings;

private:
    QStringList& m_journal;
};

/// A current-user component over a real connection (or none) that records its
/// calls in journal and its user-log lines in log.
class FakeCurrentUser : public CurrentUser {
public:
    FakeCurrentUser();

    void PasswordDeptCode(const QString& deptCode) override { journal.append("PasswordDeptCode " + deptCode); }
    void setexepath(const QString& folder) override { journal.append("setexepath " + folder); }
    void ShowMain() override;
    bool Connected() const override;
    Connection& sqlconnection() override;
    void addlog(const QString& text, bool show = false) override;
    ClaimFormClasses& VODURIZevevar() override;
    QString userName() const override { return clerk; }

    /// The clerk logged in.
    QString clerk = QStringLiteral("clerk");
    /// The log-in opens this embedded folder; empty: the log-in fails.
    QString databaseFolder;
    std::unique_ptr<Connection> connection;
    mutable QStringList journal;
    QStringList log;
    /// When set, addlog throws ComponentError with this text and keeps nothing.
    QString logFailure;
    FakeClaimFormClasses classes;
};

/// A fixed today.
class FixedClock : public Clock {
public:
    explicit FixedClock(QDate day)
        : m_day(day)
    {
    }
    QDate today() const override { return m_day; }

private:
    QDate m_day;
};

/// A yield point that runs a test's action instead of processing window messages.
class ScriptedMessageLoop : public MessageLoop {
public:
    void yieldOnce() override
    {
        ++yields;
        if (onYield)
            onYield(yields);
    }
    int yields = 0;
    std::function<void(int)> onYield;
};

} // namespace vantik::test
