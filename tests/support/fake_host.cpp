#include "support/fake_host.h"

#include "host/component_error.h"

namespace vantik::test {

namespace {

class FakeClaimForm : public ClaimForm {
public:
    FakeClaimForm(FakeClaimFormClasses& classes, QStringList& settings)
        : m_classes(classes)
        , m_settings(settings)
    {
    }
    void IDNUM(const QString& value) override
    {
        m_settings.append("IDNUM " + value);
        m_idNum = value;
    }
    QString IDNUM() const override { return m_idNum; }
    void StationID(const QString& value) override
    {
        m_settings.append("StationID " + value);
        m_station = value;
    }
    QString StationID() const override { return m_station; }
    void Title(const QString& value) override
    {
        m_settings.append("Title " + value);
        m_title = value;
    }
    QString Title() const override { return m_title; }
    void nonmodal(bool value) override
    {
        m_settings.append(value ? QStringLiteral("nonmodal true") : QStringLiteral("nonmodal false"));
        m_nonmodal = value;
    }
    bool nonmodal() const override { return m_nonmodal; }
    void Addonly(bool value) override
    {
        m_classes.call(value ? QStringLiteral("Addonly true") : QStringLiteral("Addonly false"));
        m_addOnly = value;
    }
    bool Addonly() const override { return m_addOnly; }
    void showEntry(bool print) override { m_classes.call(QStringLiteral("showEntry %1 %2").arg(m_idNum).arg(print)); }
    QString verifydata() override
    {
        m_classes.call("verifydata " + m_idNum);
        return m_classes.findings.value(m_idNum);
    }
    bool ValidateRequirements() override
    {
        m_classes.call("ValidateRequirements " + m_idNum);
        return !m_classes.invalid.contains(m_idNum);
    }
    void UnloadForm() override { m_classes.call("UnloadForm " + m_idNum); }
    void SetRowColor(FlexGrid&, int row, std::uint32_t color) override
    {
        m_classes.call(QStringLiteral("SetRowColor %1 %2").arg(row).arg(color));
    }
    void LoadDocOrders(const QString& idNum, FlexGrid&, QString& outcome) override
    {
        m_classes.call("LoadDocOrders " + idNum);
        outcome = m_classes.loadOutcome;
    }
    void ImportOrders(const QString& idNum, FlexGrid&, QString& outcome) override
    {
        m_classes.call("ImportOrders " + idNum);
        if (m_classes.importing)
            m_classes.importing(idNum);
        outcome = m_classes.importOutcome;
    }

private:
    FakeClaimFormClasses& m_classes;
    QStringList& m_settings;
    QString m_idNum;
    QString m_station;
    QString m_title;
    bool m_nonmodal = false;
    bool m_addOnly = false;
};

} // namespace

void FakeClaimFormClasses::call(const QString& entry)
{
    m_journal.append(entry);
    const QString member = entry.section(u' ', 0, 0);
    if (failing.contains(member))
        throw ComponentError(member + QStringLiteral(" failed"));
}

void FakeClaimFormClasses::UseClasses(bool value)
{
    call(QStringLiteral("UseClasses %1").arg(value ? "true" : "false"));
}

void FakeClaimFormClasses::InitWithDB()
{
    call(QStringLiteral("InitWithDB"));
}

std::shared_ptr<ClaimForm> FakeClaimFormClasses::clsCF4()
{
    call(QStringLiteral("clsCF4"));
    return std::make_shared<FakeClaimForm>(*this, formSettings);
}

void FakeClaimFormClasses::SetPatient(const QString& hospNum, const QString& idNum, const QString& station, bool flag)
{
    call(QStringLiteral("SetPatient %1 %2 [%3] %4").arg(hospNum, idNum, station).arg(flag));
}

void FakeClaimFormClasses::PrintGrid(const QString& title, FlexGrid& grid)
{
    printedGrids.push_back(&grid);
    call(QStringLiteral("PrintGrid ") + title);
}

void FakeClaimFormClasses::ShowForm()
{
    call(QStringLiteral("ShowForm"));
}

FakeCurrentUser::FakeCurrentUser()
    : classes(journal)
{
}

void FakeCurrentUser::ShowMain()
{
    journal.append(QStringLiteral("ShowMain"));
    if (!databaseFolder.isEmpty())
        connection = Connection::openEmbedded(databaseFolder);
}

bool FakeCurrentUser::Connected() const
{
    journal.append(QStringLiteral("Connected"));
    return connection != nullptr;
}

Connection& FakeCurrentUser::sqlconnection()
{
    if (!connection)
        throw ComponentError(QStringLiteral("Not logged in: there is no database connection."));
    return *connection;
}

void FakeCurrentUser::addlog(const QString& text, bool show)
{
    if (!logFailure.isEmpty())
        throw ComponentError(logFailure);
    log.append(show ? text + QStringLiteral(" [shown]") : text);
}

ClaimFormClasses& FakeCurrentUser::VODURIZevevar()
{
    journal.append(QStringLiteral("VODURIZevevar"));
    return classes;
}

} // namespace vantik::test
