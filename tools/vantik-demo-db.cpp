// vantik-demo-db: writes the demo HIS database (the four SQLite files the program
// attaches when no SQL Server is configured), for demonstrations, tests and
// performance checks with many admissions.

#include "host/demodata/demo_folder.h"
#include "host/demodata/demo_generator.h"
#include "vantik_version.h"

#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <string_view>

namespace {

// Where the user's demo folder is, as the usage text tells it.
#ifdef _WIN32
#define VANTIK_DEMO_FOLDER_HELP                                                     \
    "                     user's demo folder %LOCALAPPDATA%\\vantik\\demo-db, which\n" \
    "                     the installed vantik-worklist offers at log-in\n"
const char* const kNoDemoFolder = "LOCALAPPDATA names no folder: give one with --out DIR";
#else
#define VANTIK_DEMO_FOLDER_HELP                                                 \
    "                     user's demo folder ~/.local/share/vantik/demo-db (under\n" \
    "                     $XDG_DATA_HOME when set), which the installed\n"         \
    "                     vantik-worklist offers at log-in\n"
const char* const kNoDemoFolder = "neither XDG_DATA_HOME nor HOME names a folder: give one with --out DIR";
#endif

const char* const kUsage =
    "Usage: vantik-demo-db [--out DIR] [--admissions N] [--seed S]\n"
    "Writes DIR/Patient_Data.sqlite, DIR/Build_File.sqlite, DIR/Station.sqlite and\n"
    "DIR/MEDICARE.sqlite, replacing existing files.\n"
    "  --out DIR          folder to write to (created when missing); by default the\n"
    VANTIK_DEMO_FOLDER_HELP
    "  --admissions N     in-patient admissions and out-patient visits together,\n"
    "                     0 to 2000000 (default 5000)\n"
    "  --seed S           the same seed always gives the same files (default 1)\n"
    "  --help             this text\n"
    "  --version          the program's version\n"
    "The data covers the 24 months up to 2026-11-30. Demo log-in: clerk / clerk123.\n"
    "Exit status: 0 written, 1 bad usage or the files could not be written.\n";

template <typename T>
bool parseNumber(std::string_view text, T& value)
{
    const auto* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && ptr == end && !text.empty();
}

int usageError(const std::string& message)
{
    std::fprintf(stderr, "vantik-demo-db: %s\n%s", message.c_str(), kUsage);
    return 1;
}

std::string megabytes(std::uint64_t bytes)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MB", double(bytes) / (1024.0 * 1024.0));
    return text;
}

} // namespace

int main(int argc, char** argv)
{
    vantik::DemoDbOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (arg == "--version") {
            std::printf("vantik-demo-db %s\n", vantik::kVersion);
            return 0;
        }
        const bool takesValue = arg == "--out" || arg == "--admissions" || arg == "--seed";
        if (!takesValue)
            return usageError("unknown argument '" + std::string(arg) + "'");
        if (i + 1 >= argc)
            return usageError(std::string(arg) + " needs a value");
        const std::string_view value = argv[++i];
        if (arg == "--out") {
            options.outDir = std::string(value);
        } else if (arg == "--admissions") {
            if (!parseNumber(value, options.admissions) || options.admissions < 0
                || options.admissions > vantik::kDemoMaxAdmissions)
                return usageError("--admissions must be a whole number from 0 to "
                                  + std::to_string(vantik::kDemoMaxAdmissions));
        } else if (!parseNumber(value, options.seed)) {
            return usageError("--seed must be a non-negative whole number");
        }
    }
    if (options.outDir.empty())
        options.outDir = vantik::defaultDemoFolder();
    if (options.outDir.empty())
        return usageError(kNoDemoFolder);

    try {
        const auto started = std::chrono::steady_clock::now();
        const vantik::DemoDbSummary summary = vantik::generateDemoDatabases(options);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        std::uint64_t total = 0;
        for (const auto& file : summary.files)
            total += file.second;
        std::printf("Wrote %lld admissions (%lld in-patient, %lld out-patient) of %lld patients, %lld medicines, "
                    "%lld vital signs, %lld claims to %s in %.1f s (%s)\n",
                    summary.inPatients + summary.outPatients, summary.inPatients, summary.outPatients,
                    summary.patients, summary.medicines, summary.vitalSigns, summary.claims, options.outDir.c_str(),
                    seconds, megabytes(total).c_str());
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vantik-demo-db: %s\n", error.what());
        return 1;
    }
}
