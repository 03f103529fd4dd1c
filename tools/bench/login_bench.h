#pragma once

#include <QString>

#include <vector>

namespace vantik {
class Connection;
}

namespace vantik::bench {

/// The processor time one password check takes (median of its runs) and its
/// ratio to the accepted check of a current hash (median of the rounds' ratios).
struct LoginTiming {
    QString name;
    double milliseconds = 0;
    double ratio = 0;
    bool refused = false;
};

/// Times the log-in's password check of the demo users: an accepted check of a
/// current hash first (the measure every refusal is held to), then each kind of
/// refusal, among them a wrong password for a user whose stored hash still has
/// 100,000 iterations. That user is made inside a savepoint that is rolled back.
std::vector<LoginTiming> measureLoginChecks(Connection& connection, int repeat);

} // namespace vantik::bench
