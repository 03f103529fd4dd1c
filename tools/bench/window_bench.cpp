#include "tools/bench/window_bench.h"

#include "batchupdate/frm_batch_update.h"
#include "batchupdate/install_batch_update.h"
#include "claimwork/ecf4_listed.h"
#include "claimwork/install_claim_work.h"
#include "host/data/connection.h"
#include "host/data/embedded_connection.h"
#include "host/data/result_set.h"
#include "host/data/sql_quote.h"
#include "host/data/settings_store.h"
#include "host/ui/flex_grid_widget.h"
#include "host/ui/message_loop.h"
#include "host/user/builtin_components.h"
#include "host/user/component_registry.h"
#include "host/user/current_user.h"
#include "host/user/login_dialog.h"
#include "reports/install_reports.h"
#include "support/fake_host.h"
#include "support/scripted_message_box.h"
#include "tools/bench/bench_support.h"
#include "worklist/frm_claim_worklist.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <functional>
#include <optional>
#include <stdexcept>

namespace vantik::bench {
namespace {

// The window may take this much longer than the scripted yield.
constexpr double kWindowRatio = 1.5;

/// The main window's yield point, switched between the tests' scripted one and
/// the program's own between runs.
class SwitchableLoop : public MessageLoop {
public:
    void yieldOnce() override
    {
        if (real)
            m_qt.yieldOnce();
        else
            m_scripted.yieldOnce();
    }
    bool real = false;

private:
    QtMessageLoop m_qt;
    test::ScriptedMessageLoop m_scripted;
};

struct Pair {
    double scripted = 0; // ms
    double window = 0;   // ms
};

/// Runs the event loop until it has nothing left to do: what the work posted
/// (repaints, deferred scrolling, deletions) is done once it would wait.
void runUntilIdle()
{
    QEventLoop loop;
    const QMetaObject::Connection idle =
        QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, &loop,
                         [&loop] { loop.quit(); });
    QTimer::singleShot(0, &loop, [] {});
    loop.exec();
    QObject::disconnect(idle);
}

void waitUntilExposed(QWidget& window)
{
    const auto started = SteadyClock::now();
    while (!(window.windowHandle() && window.windowHandle()->isExposed()) && millisecondsSince(started) < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    runUntilIdle();
}

template <typename T>
T& child(QWidget& parent, const char* name)
{
    T* found = parent.findChild<T*>(QString::fromLatin1(name));
    if (!found)
        throw std::runtime_error(std::string("The log-in dialog has no ") + name + ".");
    return *found;
}

class WindowBench {
public:
    WindowBench(QString folder, int repeat, QList<int> cases)
        : m_source(QDir(std::move(folder)).absolutePath())
        , m_repeat(repeat)
        , m_cases(std::move(cases))
    {
        // The user log goes to a throwaway folder, not the clerk's.
        qputenv("XDG_DATA_HOME", m_home.path().toUtf8());
    }

    void run();

private:
    struct Work {
        std::function<void()> action; // timed, with the painting it leaves
        std::function<void()> before; // before each run, not timed
    };

    bool wanted(int caseNumber) const { return m_cases.empty() || m_cases.contains(caseNumber); }
    bool writes() const { return wanted(6) || wanted(7) || wanted(13); }
    void start();
    void logIn();
    Pair measure(const Work& work);
    double timeOnce(const Work& work, bool real);
    void checkQuiet(const char* what);
    void print(const QString& name, const Pair& pair, std::optional<double> limitMs);
    int listedRows() const { return m_window->Grid1->rowCount() - 1; }
    FrmBatchUpdate& drugWindow();
    std::function<void()> guEntriesAsFound();
    void monthCases();
    void yearCases();

    QString m_source;
    QString m_folder; // the source, or its copy when a case writes
    int m_repeat;
    QList<int> m_cases;
    std::optional<QTemporaryDir> m_copy;
    QTemporaryDir m_home;
    QTemporaryDir m_settingsFolder;
    std::optional<SettingsStore> m_settings;
    ComponentRegistry m_registry;
    test::ScriptedMessageBox m_messages;
    SwitchableLoop m_loop;
    test::FixedClock m_clock{kLastDay};
    std::unique_ptr<FrmClaimWorklist> m_window;
    QString m_loginMessage;
};

void WindowBench::start()
{
    m_folder = m_source;
    if (writes()) {
        m_folder = copyDatabase(m_source, m_copy);
    }
    m_settings.emplace(m_settingsFolder.path());
    registerBuiltinComponents(m_registry, *m_settings);
    m_window = std::make_unique<FrmClaimWorklist>(
        WorklistServices{m_registry, *m_settings, m_messages, m_loop, m_clock, QCoreApplication::applicationDirPath()});
    installClaimWork(*m_window);
    installBatchUpdate(*m_window);
    installReports(*m_window);
    logIn();
    m_window->show();
    waitUntilExposed(*m_window);
    checkQuiet("the start-up");
}

void WindowBench::logIn()
{
    // The clerk's log-in, typed into the real dialog once it shows.
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [this, &poll] {
        auto* dialog = qobject_cast<LoginDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll.stop();
        child<QRadioButton>(*dialog, "radEmbedded").setChecked(true);
        child<QLineEdit>(*dialog, "txtFolder").setText(m_folder);
        child<QLineEdit>(*dialog, "txtUserName").setText(QStringLiteral("clerk"));
        child<QLineEdit>(*dialog, "txtPassword").setText(QStringLiteral("clerk123"));
        child<QPushButton>(*dialog, "cmdOK").click();
        if (dialog->isVisible()) {
            m_loginMessage = dialog->message();
            dialog->reject();
        }
    });
    poll.start();
    if (!m_window->load())
        throw std::runtime_error("The log-in on " + m_folder.toStdString() + " failed: " + m_loginMessage.toStdString());
}

void WindowBench::checkQuiet(const char* what)
{
    if (!m_messages.shown.isEmpty()) {
        const QString text = m_messages.shown.join(QStringLiteral(" / "));
        m_messages.shown.clear();
        throw std::runtime_error(std::string(what) + " showed a message: " + text.toStdString());
    }
}

double WindowBench::timeOnce(const Work& work, bool real)
{
    m_loop.real = real;
    if (work.before)
        work.before();
    runUntilIdle();
    // Started from the event loop as a click is, and timed until the loop would
    // wait again: the work, then the painting of what it left.
    QEventLoop loop;
    bool done = false;
    double elapsed = 0;
    SteadyClock::time_point started;
    const QMetaObject::Connection idle = QObject::connect(
        QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, &loop, [&] {
            if (!done)
                return;
            elapsed = millisecondsSince(started);
            loop.quit();
        });
    QTimer::singleShot(0, &loop, [&] {
        started = SteadyClock::now();
        work.action();
        done = true;
    });
    loop.exec();
    QObject::disconnect(idle);
    checkQuiet("the operation");
    return elapsed;
}

Pair WindowBench::measure(const Work& work)
{
    // A first run of each kind warms the caches and makes the windows the work shows.
    timeOnce(work, false);
    timeOnce(work, true);
    std::vector<double> scripted;
    std::vector<double> window;
    // Alternating, so that other work on the machine falls on both alike.
    for (int i = 0; i < m_repeat; ++i) {
        scripted.push_back(timeOnce(work, false));
        window.push_back(timeOnce(work, true));
    }
    return {median(scripted), median(window)};
}

void WindowBench::print(const QString& name, const Pair& pair, std::optional<double> limitMs)
{
    const double ratio = pair.scripted > 0 ? pair.window / pair.scripted : 0;
    QString target = QStringLiteral("ratio <= %1").arg(kWindowRatio);
    bool met = ratio <= kWindowRatio;
    if (limitMs) {
        target += QStringLiteral(", <= %1 ms").arg(*limitMs);
        met = met && pair.window <= *limitMs;
    }
    std::printf("%-66s %10.2f %10.2f %6.2f   %-24s %s\n", qPrintable(name), pair.scripted, pair.window, ratio,
                qPrintable(target), met ? "met" : "MISSED");
    std::fflush(stdout);
}

FrmBatchUpdate& WindowBench::drugWindow()
{
    if (!batchUpdateWindow(*m_window)) {
        m_window->cmdBatchUpdate->click();
        waitUntilExposed(*batchUpdateWindow(*m_window));
    }
    return *batchUpdateWindow(*m_window);
}

std::function<void()> WindowBench::guEntriesAsFound()
{
    Connection& connection = m_window->pclsUser->sqlconnection();
    const QString table = connection.nativeTableName({QStringLiteral("Patient_Data"), QStringLiteral("tbPatientConditions")});
    const QString entry = QStringLiteral(" WHERE AreaCat = 'PhysicalExam' AND AreaSubCat = 'GU(IE)' AND Description = "
                                         "'OTHERS' AND IDNum IN (%1)");
    QVariantList had;
    QVariantList hadNot;
    for (int row = 1; row <= listedRows(); ++row) {
        const QString idNum = m_window->Grid1->text(row, 1);
        const ResultSet found = connection.execute(
            QStringLiteral("SELECT count(1) FROM PATIENT_DATA..tbPatientConditions WHERE IDNum = '%1' AND "
                           "AreaCat = 'PhysicalExam' AND AreaSubCat = 'GU(IE)' AND Description = 'OTHERS'")
                .arg(sqlQuote(idNum)));
        (found.text(0, 0).toInt() > 0 ? had : hadNot).append(idNum);
    }
    auto marks = [](qsizetype n) { return QStringList(n, QStringLiteral("?")).join(QLatin1Char(',')); };
    const QString remove = QStringLiteral("DELETE FROM ") + table + entry.arg(marks(hadNot.size()));
    const QString reset = QStringLiteral("UPDATE ") + table + QStringLiteral(" SET Remarks = 'as found'")
        + entry.arg(marks(had.size()));
    return [&connection, remove, reset, had, hadNot] {
        if (!hadNot.isEmpty())
            connection.executeNative(remove, hadNot);
        if (!had.isEmpty())
            connection.executeNative(reset, had);
    };
}

void WindowBench::run()
{
    start();
    std::printf("%s on the \"%s\" display, %d repeats; medians in ms, each until the windows show the result\n",
                qPrintable(m_window->pclsUser->sqlconnection().description()),
                qPrintable(QGuiApplication::platformName()), m_repeat);
    std::printf("%-66s %10s %10s %6s   %-24s\n", "case", "scripted", "window", "ratio", "target");
    monthCases();
    yearCases();
}

// The month's Top 500: the everyday list and the passes over it.
void WindowBench::monthCases()
{
    FrmClaimWorklist& w = *m_window;
    if (wanted(1)) {
        listPatients(w, monthStart(), true);
        const Pair p = measure({[&] { w.cmdRefresh->click(); }, {}});
        print(QStringLiteral("1 refresh, Top 500, one month (%1 rows)").arg(listedRows()), p, std::nullopt);
    }
    if (wanted(3)) {
        listPatients(w, monthStart(), true, true);
        const Pair p = measure({[&] { w.cmdRefresh->click(); }, {}});
        print(QStringLiteral("3 refresh with vitals, %1 rows").arg(listedRows()), p, std::nullopt);
    }
    listPatients(w, monthStart(), true);
    w.cmdRefresh->click();
    checkQuiet("the refresh");
    if (wanted(4)) {
        const Pair p = measure({[&] { w.cmdCheckHTWT->click(); }, {}});
        print(QStringLiteral("4 height/weight check, %1 rows").arg(listedRows()), p, std::nullopt);
    }
    if (wanted(5)) {
        const Pair p = measure({[&] { w.mCountCourse->trigger(); }, {}});
        print(QStringLiteral("5 course count, %1 rows").arg(listedRows()), p, 150.0);
    }
    if (wanted(10)) {
        const Pair p = measure({[&] { w.cmdValidate[1]->click(); }, {}});
        print(QStringLiteral("10 validation loop, %1 rows").arg(listedRows()), p, 2000.0);
    }
    if (wanted(17)) {
        const Pair p = measure({[&] { w.cmdCheckECF4->click(); }, {}});
        print(QStringLiteral("17 eCF4 pass, %1 rows").arg(listedRows()), p, 1000.0);
    }
    if (wanted(18)) {
        QTemporaryDir folder;
        const FolderChooser kept = cf4FolderChooser();
        cf4FolderChooser() = [&](QWidget*, const QString&) { return folder.path(); };
        // The export's report is its one message; anything else is a failure.
        const auto exportOnce = [&] {
            w.cmdExportECF4->click();
            if (m_messages.shown.size() != 1 || !m_messages.warned.isEmpty())
                return;
            m_messages.shown.clear();
        };
        const auto emptyFolder = [&] {
            QDir(folder.path()).removeRecursively();
            QDir().mkpath(folder.path());
        };
        const Pair p = measure({exportOnce, emptyFolder});
        cf4FolderChooser() = kept;
        print(QStringLiteral("18 eCF4 export, %1 claims").arg(listedRows()), p, 2000.0);
    }
    if (wanted(6)) {
        // Every run is a first marking: the entries the last one made go again and
        // the ones that were there get another remark.
        const std::function<void()> unmark = guEntriesAsFound();
        const Pair p = measure({[&] { w.mMarkGU->trigger(); }, unmark});
        print(QStringLiteral("6 GU marking, %1 rows").arg(listedRows()), p, 150.0);
    }
    if (wanted(7)) {
        FrmBatchUpdate& drugs = drugWindow();
        drugs.chkSimulate->setChecked(true);
        drugs.txtDrugName->clear();
        drugs.cmdDrugs->click();
        checkQuiet("the drug listing");
        const RouteChange change = commonestRouteChange(drugs);
        for (bool simulate : {true, false}) {
            drugs.chkSimulate->setChecked(simulate);
            // Every run turns the route the other way, so each one saves the same records.
            bool forward = true;
            const Pair p = measure({[&] { drugs.cmdDrugs->click(); }, [&] {
                                        fillRouteChange(drugs, change.drug, forward ? change.from : change.to,
                                                        forward ? change.to : change.from);
                                        forward = simulate || !forward;
                                    }});
            print(QStringLiteral("7 drug run, %1 patients, %2 Route %3 -> %4 of %5 (%6)")
                      .arg(listedRows())
                      .arg(simulate ? QStringLiteral("Simulate") : QStringLiteral("saving"), change.from, change.to,
                           change.drug.left(12))
                      .arg(change.records),
                  p, std::nullopt);
        }
        drugs.chkSimulate->setChecked(true);
    }
}

// A year of in-patients without Top 500.
void WindowBench::yearCases()
{
    FrmClaimWorklist& w = *m_window;
    if (wanted(11)) {
        listPatients(w, yearStart(), false, true);
        const Pair p = measure({[&] { w.cmdRefresh->click(); }, {}});
        print(QStringLiteral("11 refresh with vitals, one year (%1 rows)").arg(listedRows()), p, 2000.0);
    }
    if (!(wanted(2) || wanted(12) || wanted(13)))
        return;
    listPatients(w, yearStart(), false);
    if (wanted(2)) {
        const Pair p = measure({[&] { w.cmdRefresh->click(); }, {}});
        print(QStringLiteral("2 refresh, one year, no Top 500 (%1 rows)").arg(listedRows()), p, std::nullopt);
    } else {
        w.cmdRefresh->click();
        checkQuiet("the refresh");
    }
    if (!(wanted(12) || wanted(13)))
        return;
    FrmBatchUpdate& drugs = drugWindow();
    drugs.chkSimulate->setChecked(true);
    drugs.txtDrugName->clear();
    if (wanted(12)) {
        const Pair p = measure({[&] { drugs.cmdDrugs->click(); }, {}});
        print(QStringLiteral("12 drug listing, one year (%1 patients, %2 drugs)")
                  .arg(listedRows())
                  .arg(drugs.Grid1->rowCount() - 2),
              p, 1500.0);
    } else {
        drugs.cmdDrugs->click();
        checkQuiet("the drug listing");
    }
    if (wanted(13)) {
        const RouteChange change = commonestRouteChange(drugs);
        drugs.chkSimulate->setChecked(false);
        bool forward = true;
        const Pair p = measure({[&] { drugs.cmdDrugs->click(); }, [&] {
                                    fillRouteChange(drugs, change.drug, forward ? change.from : change.to,
                                                    forward ? change.to : change.from);
                                    forward = !forward;
                                }});
        print(QStringLiteral("13 drug run, one year, Route %1 -> %2 of %3 (%4 saves)")
                  .arg(change.from, change.to, change.drug.left(12))
                  .arg(change.records),
              p, 2000.0);
        drugs.chkSimulate->setChecked(true);
    }
}

} // namespace

void runWindowBench(const QString& folder, int repeat, const QList<int>& cases)
{
    // The offscreen display says so for every window the work shows.
    static const QtMessageHandler passOn = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (!message.startsWith(QLatin1String("This plugin does not support")))
                passOn(type, context, message);
        });
    WindowBench(folder, repeat, cases).run();
}

} // namespace vantik::bench
