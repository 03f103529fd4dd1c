#pragma once

#include "host/sqlcompat/catalog.h"
#include "host/sqlcompat/translator.h"

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

struct sqlite3;

namespace vantik::sqlcompat::test {

/// The tables and columns that the program's statements name, with the kinds the HIS gives them.
Catalog hisCatalog();

/// The message translateTsql gives for a statement, or "(translated)".
std::string translationError(const std::string& tsql, const Catalog& catalog);

/// The four HIS databases attached to an in-memory SQLite, as the embedded backend does,
/// with the named tables of the catalog created empty.
class EmbeddedDb {
public:
    EmbeddedDb(const Catalog& catalog, std::initializer_list<std::pair<const char*, const char*>> tables);
    ~EmbeddedDb();
    EmbeddedDb(const EmbeddedDb&) = delete;
    EmbeddedDb& operator=(const EmbeddedDb&) = delete;

    void exec(const std::string& sql);

    /// Translates and runs a T-SQL SELECT; each row's cells joined by '|', NULL as "<null>".
    std::vector<std::string> rows(const std::string& tsql);

    /// What a clerk would see: the rows joined by '\n' (cells by '|', NULL as "<null>"), or
    /// "ERROR: " and the message of whichever step failed (translation, preparation, a row).
    std::string outcome(const std::string& tsql);

    /// Prepares the translation of a statement and returns SQLite's error, empty when it prepared.
    std::string prepareError(const std::string& tsql, std::vector<std::string>* names = nullptr);

    const std::vector<std::string>& names() const { return m_names; }
    /// True when some compatibility function is only a stand-in, so results cannot be checked.
    bool hasPlaceholders() const { return m_placeholders; }

private:
    const Catalog& m_catalog;
    sqlite3* m_db = nullptr;
    std::vector<std::string> m_names;
    bool m_placeholders = false;
};

/// Every table of hisCatalog(), for EmbeddedDb.
extern const std::initializer_list<std::pair<const char*, const char*>> kAllHisTables;

} // namespace vantik::sqlcompat::test
