#include "tools/bench/login_bench.h"

#include "host/data/connection.h"
#include "host/demodata/password_hash.h"
#include "host/user/login_check.h"
#include "tools/bench/bench_support.h"

#include <ctime>
#include <iterator>
#include <stdexcept>

namespace vantik::bench {

namespace {

constexpr int kOldIterations = 100000;
// The clerks' department: the demo users of another one are refused for it.
const QString kDepartment = QStringLiteral("21");

// The check is the processor's work alone: its time on this thread is what the
// iterations cost, whatever else the machine runs meanwhile.
double threadCpuMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
}

} // namespace

std::vector<LoginTiming> measureLoginChecks(Connection& connection, int repeat)
{
    struct Check {
        const char* name;
        QString user;
        QString password;
        LoginOutcome expected;
    };
    const Check checks[] = {
        {"accepted, current hash", QStringLiteral("clerk"), QStringLiteral("clerk123"), LoginOutcome::Accepted},
        {"unknown user", QStringLiteral("nobody"), QStringLiteral("clerk123"), LoginOutcome::Refused},
        {"wrong password", QStringLiteral("clerk"), QStringLiteral("clerk124"),
         LoginOutcome::Refused},
        {"wrong password, 100,000 iter.", QStringLiteral("mreyes"), QStringLiteral("reyes2027"),
         LoginOutcome::Refused},
        {"another department", QStringLiteral("agarcia"), QStringLiteral("garcia2026"),
         LoginOutcome::WrongDepartment},
    };

    connection.executeNative(QStringLiteral("SAVEPOINT login_bench"), {});
    std::vector<LoginTiming> timings;
    try {
        const std::string oldHash = pbkdf2Sha256Hex("reyes2026", "bench", kOldIterations);
        connection.executeNative(QStringLiteral("UPDATE %1 SET PasswordSalt = 'bench', PasswordHash = ?, "
                                                "Iterations = ? WHERE UserName = 'mreyes'")
                                     .arg(connection.nativeTableName({QStringLiteral("Build_File"),
                                                                      QStringLiteral("tbcoUsers")})),
                                 {QString::fromStdString(oldHash), kOldIterations});
        // Round by round, every check once a round, so that a change in the machine's
        // load falls on all of them alike; the first round warms the statement cache.
        std::vector<std::vector<double>> runs(std::size(checks));
        for (int round = 0; round < repeat + 1; ++round) {
            for (std::size_t c = 0; c < std::size(checks); ++c) {
                const Check& check = checks[c];
                const double started = threadCpuMilliseconds();
                const LoginCheck outcome = checkUserPassword(connection, check.user, check.password, kDepartment);
                const double elapsed = threadCpuMilliseconds() - started;
                if (outcome.outcome != check.expected)
                    throw std::runtime_error(std::string("unexpected log-in outcome: ") + check.name);
                if (round > 0)
                    runs[c].push_back(elapsed);
            }
        }
        // Each refusal against the accepted check of its own round: the machine's
        // load, which moves both, drops out of the ratio.
        for (std::size_t c = 0; c < std::size(checks); ++c) {
            std::vector<double> ratios;
            for (std::size_t r = 0; r < runs[c].size(); ++r)
                ratios.push_back(runs[0][r] > 0 ? runs[c][r] / runs[0][r] : 0);
            timings.push_back({QString::fromLatin1(checks[c].name), median(runs[c]), median(ratios),
                               checks[c].expected != LoginOutcome::Accepted});
        }
    } catch (...) {
        connection.executeNative(QStringLiteral("ROLLBACK TO login_bench"), {});
        connection.executeNative(QStringLiteral("RELEASE login_bench"), {});
        throw;
    }
    connection.executeNative(QStringLiteral("ROLLBACK TO login_bench"), {});
    connection.executeNative(QStringLiteral("RELEASE login_bench"), {});
    return timings;
}

} // namespace vantik::bench
