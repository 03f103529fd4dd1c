// vantik-bench --db DIR [--repeat N] [--case N[,N...]] [--window]
//
// Measures a clerk's day on a hospital-sized demo database: each refresh and
// batch pass runs through the program's own code (statement builders, data
// layer, grid model, operations over the fake claim-form library the tests use),
// then SQLite alone runs the very statements the program sent, already
// translated. The ratio of the two medians is what our layers cost.
// --window runs the cases through the program as the clerk meets it instead
// (window_bench.h).

#include "batchupdate/frm_batch_update.h"
#include "batchupdate/install_batch_update.h"
#include "claimwork/batch_validation.h"
#include "claimwork/claim_work_statements.h"
#include "claimwork/ecf4_listed.h"
#include "claimwork/gu_marking.h"
#include "claimwork/install_claim_work.h"
#include "claimwork/listed_checks.h"
#include "ecf4/ecf4.h"
#include "host/component_error.h"
#include "host/data/embedded_connection.h"
#include "host/data/settings_store.h"
#include "host/sqlcompat/translator.h"
#include "host/ui/flex_grid_model.h"
#include "host/ui/flex_grid_widget.h"
#include "host/user/component_registry.h"
#include "reports/frm_report.h"
#include "reports/install_reports.h"
#include "support/fake_host.h"
#include "support/scripted_message_box.h"
#include "tools/bench/bench_support.h"
#include "tools/bench/login_bench.h"
#include "tools/bench/raw_engine.h"
#include "tools/bench/recording_connection.h"
#include "tools/bench/window_bench.h"
#include "worklist/frm_claim_worklist.h"
#include "worklist/worklist_columns.h"
#include "vantik_version.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>

namespace vantik::bench {
namespace {

// Resident set figures of this process from /proc, in kB (-1 where there is no
// /proc); the peak can be reset so that it covers one case only.
long procStatusKb(const char* field)
{
#ifdef Q_OS_LINUX
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').value(0).toLong();
    }
#else
    Q_UNUSED(field);
#endif
    return -1;
}

void resetPeakResident()
{
#ifdef Q_OS_LINUX
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (clearRefs.open(QIODevice::WriteOnly))
        clearRefs.write("5");
#endif
}

QString megabytes(double bytes)
{
    return QString::number(bytes / (1024.0 * 1024.0), 'f', 1) + QStringLiteral(" MB");
}

struct Sample {
    double program = 0;             // ms
    std::optional<double> raw;      // ms; none where the work is not the database's
};

class Bench {
public:
    Bench(const QString& folder, int repeat, QList<int> cases)
        : m_folder(QDir(folder).absolutePath())
        , m_repeat(repeat)
        , m_cases(std::move(cases))
    {
    }

    void run();

private:
    struct Work {
        std::function<void()> action;   // timed
        std::function<void()> before;   // before each run, not timed
        bool writes = false;            // runs in a savepoint that is rolled back
    };

    void start();
    bool wanted(int caseNumber) const { return m_cases.empty() || m_cases.contains(caseNumber); }
    void refreshCase();
    void yearCases();
    void listedPassCases();
    void writingCases();
    void yearPassCases();
    void translationCase();
    void loginCase();
    void ecf4Cases();
    void listPatients(const QString& startDate, bool top500, bool vitals = false)
    {
        bench::listPatients(*m_window, startDate, top500, vitals);
    }
    Sample measure(const Work& work);
    double perCallMicroseconds(const std::function<void()>& call);
    double medianMilliseconds(const std::function<void()>& work);
    void switchToCopy();
    void checkQuiet(const char* what);
    /// One line of the table; a program time under a millisecond per call can be shown in microseconds.
    void print(const QString& name, const Sample& sample, const QString& target, std::optional<bool> met,
               bool microseconds = false);
    int listedRows() const { return m_window->Grid1->rowCount() - 1; }
    Connection& connection() { return *m_user->connection; }

    QString m_folder;
    int m_repeat;
    QList<int> m_cases; // empty: all
    long m_residentBeforeGridKb = -1;
    long m_gridPeakKb = -1;
    std::unique_ptr<RawEngine> m_raw;
    std::unique_ptr<EmbeddedConnection> m_translator; // its catalog translates for the raw engine
    std::optional<QTemporaryDir> m_copy;

    QTemporaryDir m_settingsFolder;
    std::optional<SettingsStore> m_settings;
    test::ScriptedMessageBox m_messages;
    test::ScriptedMessageLoop m_messageLoop;
    test::FixedClock m_clock{kLastDay};
    ComponentRegistry m_registry;
    test::FakeCurrentUser* m_user = nullptr;
    std::unique_ptr<FrmClaimWorklist> m_window;
};

void Bench::start()
{
    m_settings.emplace(m_settingsFolder.path());
    m_window = std::make_unique<FrmClaimWorklist>(
        WorklistServices{m_registry, *m_settings, m_messages, m_messageLoop, m_clock, QStringLiteral("/opt/vantik/bin")});
    installClaimWork(*m_window);
    installBatchUpdate(*m_window);
    installReports(*m_window);
    m_registry.registerFactory(kCurrentUserProgId, [this] {
        auto made = std::make_unique<test::FakeCurrentUser>();
        made->databaseFolder = m_folder;
        m_user = made.get();
        return made;
    });
    if (!m_window->load() || !m_user || !m_user->connection)
        throw std::runtime_error("The program could not log in to " + m_folder.toStdString());
    m_window->show();
    m_raw = std::make_unique<RawEngine>(m_folder.toStdString());
    m_translator = std::make_unique<EmbeddedConnection>(m_folder);
    checkQuiet("the start-up");
}

void Bench::checkQuiet(const char* what)
{
    if (!m_messages.shown.isEmpty()) {
        const QString text = m_messages.shown.join(QStringLiteral(" / "));
        m_messages.shown.clear();
        throw std::runtime_error(std::string(what) + " showed a message: " + text.toStdString());
    }
}

Sample Bench::measure(const Work& work)
{
    std::vector<RecordedStatement> recorded;
    auto runProgram = [&](bool record) {
        if (work.before)
            work.before();
        Connection& base = connection();
        if (work.writes)
            base.executeNative(QStringLiteral("SAVEPOINT bench"), {});
        RecordingConnection* recorder = nullptr;
        if (record) {
            recorder = new RecordingConnection(std::move(m_user->connection));
            m_user->connection.reset(recorder);
        }
        double elapsed = 0;
        try {
            const auto started = SteadyClock::now();
            work.action();
            elapsed = millisecondsSince(started);
        } catch (...) {
            if (recorder)
                m_user->connection = recorder->release();
            throw;
        }
        if (recorder) {
            recorded = recorder->statements();
            m_user->connection = recorder->release();
        }
        if (work.writes) {
            base.executeNative(QStringLiteral("ROLLBACK TO bench"), {});
            base.executeNative(QStringLiteral("RELEASE bench"), {});
        }
        return elapsed;
    };

    // The first run warms the caches and notes the statements the program sends.
    runProgram(true);
    checkQuiet("the operation");
    const std::vector<RawStatement> raw = rawStatements(recorded, m_translator->catalog());
    auto runRaw = [&] {
        if (work.writes)
            m_raw->exec("SAVEPOINT bench");
        const auto started = SteadyClock::now();
        m_raw->run(raw);
        const double elapsed = millisecondsSince(started);
        if (work.writes)
            m_raw->exec("ROLLBACK TO bench; RELEASE bench");
        return elapsed;
    };
    runRaw();

    std::vector<double> program;
    std::vector<double> engine;
    for (int i = 0; i < m_repeat; ++i) {
        program.push_back(runProgram(false));
        engine.push_back(runRaw());
    }
    checkQuiet("the operation");
    return {median(program), median(engine)};
}

double Bench::medianMilliseconds(const std::function<void()>& work)
{
    std::vector<double> runs;
    for (int i = 0; i < m_repeat; ++i) {
        const auto started = SteadyClock::now();
        work();
        runs.push_back(millisecondsSince(started));
    }
    return median(runs);
}

double Bench::perCallMicroseconds(const std::function<void()>& call)
{
    constexpr int kCalls = 2000;
    for (int k = 0; k < kCalls; ++k) // warming up
        call();
    std::vector<double> perCall;
    for (int i = 0; i < std::max(m_repeat, 3); ++i) {
        const auto started = SteadyClock::now();
        for (int k = 0; k < kCalls; ++k)
            call();
        perCall.push_back(millisecondsSince(started) * 1000.0 / kCalls);
    }
    return median(perCall);
}

void Bench::switchToCopy()
{
    copyDatabase(m_folder, m_copy);
    m_user->connection = Connection::openEmbedded(m_copy->path());
    m_raw = std::make_unique<RawEngine>(m_copy->path().toStdString());
}

void Bench::print(const QString& name, const Sample& sample, const QString& target, std::optional<bool> met,
                  bool microseconds)
{
    const QString program = microseconds ? QString::number(sample.program * 1000.0, 'f', 1) + QStringLiteral(" us")
                                         : QString::number(sample.program, 'f', 2);
    const QString raw = sample.raw ? QString::number(*sample.raw, 'f', 2) : QStringLiteral("-");
    const QString ratio = sample.raw && *sample.raw > 0 ? QString::number(sample.program / *sample.raw, 'f', 2)
                                                         : QStringLiteral("-");
    const QString verdict = !met ? QString() : (*met ? QStringLiteral("met") : QStringLiteral("MISSED"));
    std::printf("%-52s %10s %10s %6s   %-18s %s\n", qPrintable(name), qPrintable(program), qPrintable(raw),
                qPrintable(ratio), qPrintable(target), qPrintable(verdict));
    std::fflush(stdout);
}

std::optional<bool> ratioMet(const Sample& s)
{
    return s.raw ? std::optional<bool>(s.program <= 1.3 * *s.raw) : std::nullopt;
}

void Bench::run()
{
    start();
    std::printf("%s, %d repeats; medians in ms\n", qPrintable(connection().description()), m_repeat);
    std::printf("%-52s %10s %10s %6s   %-18s\n", "case", "program", "raw", "ratio", "target");
    // The translation first: it is timed in microseconds, and the writing cases
    // leave a copy of the database being written back to disk.
    if (wanted(9))
        translationCase();
    if (wanted(1))
        refreshCase();
    if (wanted(2) || wanted(8))
        yearCases();
    if (wanted(3) || wanted(4) || wanted(5) || wanted(10))
        listedPassCases();
    if (wanted(15) || wanted(16) || wanted(17) || wanted(18))
        ecf4Cases();
    if (wanted(6) || wanted(7))
        writingCases();
    if (wanted(11) || wanted(12) || wanted(13))
        yearPassCases();
    if (wanted(14))
        loginCase();
    if (m_gridPeakKb >= 0) {
        std::printf("peak memory of the grid case: %s resident (%s before it)\n",
                    qPrintable(megabytes(m_gridPeakKb * 1024.0)), qPrintable(megabytes(m_residentBeforeGridKb * 1024.0)));
    }
}

// 1. The everyday refresh.
void Bench::refreshCase()
{
    FrmClaimWorklist& w = *m_window;
    listPatients(monthStart(), true);
    for (int sortFlag : {0, 1}) {
        const Sample s = measure({[&] { w.RefreshWorklist(sortFlag); }, {}});
        print(QStringLiteral("1 refresh, Top 500, one month, %1 (%2 rows)")
                  .arg(sortFlag ? QStringLiteral("sorted") : QStringLiteral("unsorted"))
                  .arg(listedRows()),
              s, QStringLiteral("ratio <= 1.3"), ratioMet(s));
    }
}

// 2. A year's list bound into the grid; 8. the accomplishment report over it.
void Bench::yearCases()
{
    FrmClaimWorklist& w = *m_window;
    listPatients(yearStart(), false);
    w.Grid1->reset(2, w.Grid1->columnCount());
    m_residentBeforeGridKb = procStatusKb("VmRSS:");
    resetPeakResident();
    const Sample grid = measure({[&] { w.RefreshWorklist(0); }, {}});
    m_gridPeakKb = procStatusKb("VmHWM:");
    const int yearRows = listedRows();
    print(QStringLiteral("2 refresh, one year, no Top 500 (%1 rows)").arg(yearRows), grid,
          QStringLiteral("ratio <= 1.3"), ratioMet(grid));
    const double beyond = grid.program - *grid.raw;
    const double perThirtyThousand = yearRows > 0 ? beyond * 30000.0 / yearRows : 0;
    std::printf("  text and binding beyond the raw fetch: %.1f ms, %.1f ms per 30,000 rows (target < 150)  %s\n",
                beyond, perThirtyThousand, perThirtyThousand < 150 ? "met" : "MISSED");
    const ResultSet& bound = w.Grid1->model()->boundData();
    const double textBytes = double(bound.textSize()) * double(sizeof(QChar));
    const double modelBytes = double(bound.bytesHeld());
    std::printf("  grid model: %s for %s of text, %.2f times (target < 2)  %s\n", qPrintable(megabytes(modelBytes)),
                qPrintable(megabytes(textBytes)), textBytes > 0 ? modelBytes / textBytes : 0.0,
                textBytes > 0 && modelBytes < 2 * textBytes ? "met" : "MISSED");


    if (wanted(8)) {
        // The report groups the list as its own refresh sorts it.
        w.RefreshWorklist(1);
        checkQuiet("the sorted refresh");
        FrmReport report(w);
        Sample s;
        fillAccomplishmentReport(*report.Grid2, *w.Grid1, worklist::Doctor1);
        s.program = medianMilliseconds([&] { fillAccomplishmentReport(*report.Grid2, *w.Grid1, worklist::Doctor1); });
        print(QStringLiteral("8 accomplishment report over the year (%1 rows)").arg(yearRows), s,
              QStringLiteral("< 50 ms / 30,000"), s.program * 30000.0 / std::max(yearRows, 1) < 50);
    }
    w.Grid1->reset(2, w.Grid1->columnCount());
}

// 3 to 5. Passes over the month's Top 500.
void Bench::listedPassCases()
{
    FrmClaimWorklist& w = *m_window;
    listPatients(monthStart(), true, true);
    if (wanted(3)) {
        const Sample s = measure({[&] { w.RefreshWorklist(0); }, [&] { m_user->log.clear(); }});
        print(QStringLiteral("3 refresh with vitals, %1 rows").arg(listedRows()), s, QStringLiteral("ratio <= 1.3"),
              ratioMet(s));
    }
    listPatients(monthStart(), true);
    w.RefreshWorklist(0);
    if (wanted(4)) {
        const Sample s = measure({[&] { checkHeightWeight(w); }, {}});
        print(QStringLiteral("4 height/weight check, %1 rows").arg(listedRows()), s, QStringLiteral("ratio <= 1.3"),
              ratioMet(s));
    }
    if (wanted(5)) {
        const Sample s = measure({[&] { countCourseNotes(w); }, [&] { m_user->log.clear(); }});
        print(QStringLiteral("5 course count, %1 rows").arg(listedRows()), s, QStringLiteral("ratio <= 1.3"),
              ratioMet(s));
    }
    if (wanted(10)) {
        // The fake library sends no statement: the loop's own cost.
        Sample s;
        validateAllListed(w);
        s.program = medianMilliseconds([&] {
            m_user->log.clear();
            m_user->journal.clear();
            validateAllListed(w);
        });
        print(QStringLiteral("10 validation loop, %1 rows").arg(listedRows()), s, QString(), std::nullopt);
    }
}

// 15 and 16. The eCF4 of the month's Top 500 through the library: each claim
// read, composed, checked, written and validated; the export also writes the
// files and the summary. A pass makes its session (facility, code tables) once.
void Bench::ecf4Cases()
{
    FrmClaimWorklist& w = *m_window;
    listPatients(monthStart(), true);
    w.RefreshWorklist(0);
    QStringList claims;
    for (int row = 1; row <= listedRows(); ++row)
        claims << w.Grid1->text(row, worklist::IdNum);
    const QDate today = kLastDay;
    if (wanted(15)) {
        int ready = 0;
        const Sample s = measure({[&] {
                                      const ecf4::Ecf4Session session(connection(), today);
                                      ready = 0;
                                      for (const QString& idNum : claims)
                                          ready += session.check(idNum).ready() ? 1 : 0;
                                  },
                                  {}});
        print(QStringLiteral("15 eCF4 check, %1 rows (%2 ready)").arg(claims.size()).arg(ready), s,
              QStringLiteral("< 1 s / 500"), s.program * 500.0 / std::max<qsizetype>(claims.size(), 1) < 1000);
    }
    if (wanted(16)) {
        QTemporaryDir folder;
        int exported = 0;
        const Sample s = measure({[&] {
                                      const ecf4::Ecf4Session session(connection(), today);
                                      exported = ecf4::exportToFolder(session, claims, {folder.path(), {}, {}},
                                                                      QDateTime(today, QTime(2, 0)))
                                                     .count(ecf4::ClaimOutcome::Exported);
                                  },
                                  [&] {
                                      QDir(folder.path()).removeRecursively();
                                      QDir().mkpath(folder.path());
                                  }});
        print(QStringLiteral("16 eCF4 export, %1 claims (%2 files)").arg(claims.size()).arg(exported), s,
              QStringLiteral("< 2 s / 500"), s.program * 500.0 / std::max<qsizetype>(claims.size(), 1) < 2000);
    }
    // 17 and 18. The same through the main window's pass and export: the rows'
    // colours, the log lines, the progress, one yield per row, the final message.
    if (wanted(17)) {
        const Sample s = measure({[&] { checkListedCf4(w); }, [&] { m_user->journal.clear(); }});
        checkQuiet("the window's eCF4 pass");
        print(QStringLiteral("17 eCF4 pass in the window, %1 rows").arg(claims.size()), s,
              QStringLiteral("< 1 s / 500"), s.program * 500.0 / std::max<qsizetype>(claims.size(), 1) < 1000);
    }
    if (wanted(18)) {
        QTemporaryDir folder;
        const FolderChooser kept = cf4FolderChooser();
        cf4FolderChooser() = [&](QWidget*, const QString&) { return folder.path(); };
        // The export ends with its report, its one message; anything else is a failure.
        const auto takeReport = [&] {
            if (m_messages.shown.size() != 1 || !m_messages.warned.isEmpty())
                throw std::runtime_error("the window's eCF4 export said: "
                                         + m_messages.shown.join(u'\n').toStdString());
            m_messages.shown.clear();
        };
        const Sample s = measure({[&] {
                                      exportListedCf4(w);
                                      takeReport();
                                  },
                                  [&] {
                                      QDir(folder.path()).removeRecursively();
                                      QDir().mkpath(folder.path());
                                  }});
        cf4FolderChooser() = kept;
        const int files = int(QDir(folder.path()).entryList({QStringLiteral("*.xml")}, QDir::Files).size());
        print(QStringLiteral("18 eCF4 export in the window, %1 claims (%2 files)").arg(claims.size()).arg(files), s,
              QStringLiteral("< 2 s / 500"), s.program * 500.0 / std::max<qsizetype>(claims.size(), 1) < 2000);
    }
}

// 11 to 13. Passes over a year's list, without Top 500.
void Bench::yearPassCases()
{
    FrmClaimWorklist& w = *m_window;
    if (wanted(11)) {
        listPatients(yearStart(), false, true);
        const Sample s = measure({[&] { w.RefreshWorklist(0); }, [&] { m_user->log.clear(); }});
        print(QStringLiteral("11 refresh with vitals, one year (%1 rows)").arg(listedRows()), s,
              QStringLiteral("ratio <= 1.3"), ratioMet(s));
    }
    if (!(wanted(12) || wanted(13)))
        return;
    if (wanted(13) && !m_copy)
        switchToCopy();
    listPatients(yearStart(), false);
    w.RefreshWorklist(0);
    openBatchUpdate(w);
    FrmBatchUpdate& drugs = *batchUpdateWindow(w);
    drugs.chkSimulate->setChecked(true);
    drugs.txtDrugName->clear();
    if (wanted(12)) {
        const Sample s = measure({[&] { drugs.cmdDrugs_Click(); }, {}});
        print(QStringLiteral("12 drug listing, one year (%1 patients)").arg(listedRows()), s,
              QStringLiteral("ratio <= 1.3"), ratioMet(s));
    } else {
        drugs.cmdDrugs_Click();
    }
    checkQuiet("the drug listing");
    if (wanted(13)) {
        const RouteChange change = commonestRouteChange(drugs);
        drugs.chkSimulate->setChecked(false);
        const Sample s = measure({[&] { drugs.cmdDrugs_Click(); },
                                  [&] { fillRouteChange(drugs, change.drug, change.from, change.to); }, true});
        print(QStringLiteral("13 drug run, one year, Route %1 -> %2 of %3 (%4 saves)")
                  .arg(change.from, change.to, change.drug.left(12))
                  .arg(change.records),
              s, QStringLiteral("ratio <= 1.3"), ratioMet(s));
    }
    drugs.close();
}

// 6 and 7 write: on a copy of the database, each run rolled back.
void Bench::writingCases()
{
    FrmClaimWorklist& w = *m_window;
    listPatients(monthStart(), true);
    w.RefreshWorklist(0);
    switchToCopy();
    if (wanted(6)) {
        const Sample s = measure({[&] { MarkGUEntries(w, claimwork::GuMarking::NotApplicable); }, {}, true});
        print(QStringLiteral("6 GU marking, %1 rows").arg(listedRows()), s, QStringLiteral("ratio <= 1.3"),
              ratioMet(s));
    }
    if (wanted(7)) {
        openBatchUpdate(w);
        FrmBatchUpdate& drugs = *batchUpdateWindow(w);
        drugs.chkSimulate->setChecked(true);
        drugs.txtDrugName->clear();
        drugs.cmdDrugs_Click();
        checkQuiet("the drug listing");
        // The clerk clicks a record of the most frequent drug and changes its route.
        std::map<QString, int> seen;
        int chosen = 0;
        int most = 0;
        for (int row = 1; row < drugs.Grid1->rowCount(); ++row) {
            const QString name = drugs.Grid1->text(row, batchupdate::GenericName);
            const int count = name.isEmpty() ? 0 : ++seen[name];
            if (count > most)
                chosen = row, most = count;
        }
        if (chosen == 0)
            throw std::runtime_error("The listed patients have no drugs.");
        drugs.Grid1_Click(chosen);
        const int routeBox = batchupdate::Route - batchupdate::kFirstBoxColumn;
        const QString from = drugs.txtField[routeBox]->text();
        const QString to = from == QLatin1String("IV") ? QStringLiteral("PO") : QStringLiteral("IV");
        auto fillBoxes = [&drugs, routeBox, from, to, chosen] {
            drugs.Grid1_Click(chosen);
            drugs.txtFieldTO[routeBox]->setText(to);
        };
        for (bool simulate : {true, false}) {
            drugs.chkSimulate->setChecked(simulate);
            fillBoxes();
            const QString drug = drugs.txtDrugName->text();
            const Sample s = measure({[&] { drugs.cmdDrugs_Click(); }, fillBoxes, !simulate});
            print(QStringLiteral("7 drug run, %1 patients, %2").arg(listedRows())
                      .arg(simulate ? QStringLiteral("Simulate") : QStringLiteral("Route %1 -> %2 of %3").arg(from, to, drug.left(12))),
                  s, QStringLiteral("ratio <= 1.3"), ratioMet(s));
        }
        drugs.close();
    }
}

// 9. Translation alone.
void Bench::translationCase()
{
    FrmClaimWorklist& w = *m_window;
    listPatients(monthStart(), true);
    w.RefreshWorklist(0);
    {
        const std::string worklist = w.txtMessage->text().toStdString();
        const std::string perRow = claimwork::heightWeightStatement(w.Grid1->text(1, worklist::IdNum)).toStdString();
        const sqlcompat::Catalog& catalog = m_translator->catalog();
        for (const auto& [name, text] : {std::pair{"worklist statement", &worklist}, {"height/weight statement", &perRow}}) {
            Sample s;
            s.program = perCallMicroseconds([&] { sqlcompat::translateTsql(*text, catalog); }) / 1000.0;
            print(QStringLiteral("9 translation per statement, %1").arg(QLatin1String(name)), s,
                  QStringLiteral("< 20 us"), s.program * 1000.0 < 20, true);
        }
    }
}

// 14. The log-in's password check: every refusal costs what a current hash costs,
// so that its time tells neither a user name nor an old, cheaper hash apart.
void Bench::loginCase()
{
    // The ratio column holds each check's time over the accepted one's.
    for (const LoginTiming& timing : measureLoginChecks(connection(), m_repeat)) {
        const bool alike = timing.ratio >= 0.75 && timing.ratio <= 1.25;
        std::printf("%-52s %10.2f %10s %6.2f   %-18s %s\n", qPrintable("14 log-in, CPU: " + timing.name),
                    timing.milliseconds, "-", timing.ratio, timing.refused ? "ratio 0.75-1.25" : "",
                    timing.refused ? (alike ? "met" : "MISSED") : "");
    }
    std::fflush(stdout);
}

} // namespace
} // namespace vantik::bench

namespace {

const char* const kUsage =
    "Usage: vantik-bench --db DIR [--repeat N] [--case N[,N...]] [--window]\n"
    "Measures a clerk's day on a demo database made by vantik-demo-db: each case through\n"
    "the program's own code, then the same statements on SQLite alone, with both medians\n"
    "and their ratio. The writing cases work on a copy in the temporary folder.\n"
    "  --db DIR          the demo database folder\n"
    "  --repeat N        runs of each case, the median is given (default 5)\n"
    "  --case N[,N...]   only these cases, for profiling\n"
    "  --window          through the real main window (under X when DISPLAY is set)\n"
    "  --help            this text\n"
    "  --version         the program's version\n"
    "Exit status: 0 measured, 1 a case failed, 2 bad usage.\n";

} // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--help") == 0 || qstrcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (qstrcmp(argv[i], "--version") == 0) {
            std::printf("vantik-bench %s\n", vantik::kVersion);
            return 0;
        }
    }
    // Measuring needs no screen; the window cases use the display when there is one.
    const bool onDisplay = std::any_of(argv + 1, argv + argc, [](const char* a) { return qstrcmp(a, "--window") == 0; })
        && !qEnvironmentVariableIsEmpty("DISPLAY");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !onDisplay)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    QString folder;
    int repeat = 5;
    QList<int> cases;
    bool window = false;
    for (int i = 1; i < arguments.size(); ++i) {
        if (arguments.at(i) == QLatin1String("--db") && i + 1 < arguments.size()) {
            folder = arguments.at(++i);
        } else if (arguments.at(i) == QLatin1String("--repeat") && i + 1 < arguments.size()) {
            bool ok = false;
            repeat = arguments.at(++i).toInt(&ok);
            if (!ok || repeat < 1)
                folder.clear(), i = int(arguments.size());
        } else if (arguments.at(i) == QLatin1String("--window")) {
            window = true;
        } else if (arguments.at(i) == QLatin1String("--case") && i + 1 < arguments.size()) {
            // For profiling one case: --case 4 or --case 4,5.
            for (const QString& number : arguments.at(++i).split(QLatin1Char(',')))
                cases.append(number.toInt());
        } else {
            folder.clear();
            break;
        }
    }
    if (folder.isEmpty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    try {
        if (window)
            vantik::bench::runWindowBench(folder, repeat, cases);
        else
            vantik::bench::Bench(folder, repeat, cases).run();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vantik-bench: %s\n", qPrintable(vantik::errorDescription(error)));
        return 1;
    }
    return 0;
}
