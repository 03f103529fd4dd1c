#include "host/sqlcompat/his_test_db.h"

#include "host/sqlcompat/compat_functions.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace vantik::sqlcompat::test {

namespace {

using Columns = std::initializer_list<std::pair<const char*, SqlType>>;

void addTable(Catalog& catalog, const char* schema, const char* name, Columns columns)
{
    TableInfo table;
    table.schema = schema;
    table.name = name;
    for (const auto& [column, type] : columns)
        table.columns.push_back({column, type, false});
    catalog.addTable(std::move(table));
}

const char* declaredType(SqlType type)
{
    switch (type) {
    case SqlType::Text: return "varchar(50)";
    case SqlType::Integer: return "int";
    case SqlType::Decimal: return "decimal(18,2)";
    case SqlType::Bit: return "bit";
    case SqlType::DateTime: return "datetime";
    case SqlType::Unknown: break;
    }
    return "";
}

// Stand-ins for the compatibility functions that only let a statement be prepared;
// they are registered only where the real ones are missing.
void placeholderFunction(sqlite3_context* context, int, sqlite3_value**)
{
    sqlite3_result_null(context);
}

} // namespace

Catalog hisCatalog()
{
    constexpr SqlType T = SqlType::Text, D = SqlType::DateTime, B = SqlType::Bit, I = SqlType::Integer,
                      M = SqlType::Decimal;
    Catalog c;
    addTable(c, "Patient_Data", "tbPatient",
             {{"HospNum", T}, {"IDNum", T}, {"AdmDate", D}, {"DcrDate", D}, {"BriefHistory", T},
              {"isHemoDialysis", B}, {"MedicareType", T}, {"OPDIDNum", T}, {"IsChemo", B}, {"ServiceID", T},
              {"AttendingDr1", T}, {"AdmittingDr", T}, {"AccountNum", T}});
    addTable(c, "Patient_Data", "tbOutPatient",
             {{"HospNum", T}, {"IDNum", T}, {"AdmDate", D}, {"DcrDate", D}, {"BriefHistory", T},
              {"isHemoDialysis", B}, {"MedicareType", T}, {"HemoNum", T}, {"IsChemo", B}, {"ServiceID1", T},
              {"DoctorID1", T}, {"AccountNum", T}});
    addTable(c, "Patient_Data", "tbMaster", {{"HospNum", T}, {"LastName", T}, {"FirstName", T}, {"Sex", T}});
    addTable(c, "Patient_Data", "tbPatientConditions",
             {{"ID", I}, {"IDNum", T}, {"AreaCat", T}, {"AreaSubCat", T}, {"Description", T}, {"Code", T},
              {"Result", T}, {"Remarks", T}});
    addTable(c, "Patient_Data", "tbPatientMedicine",
             {{"IDNum", T}, {"GenericName", T}, {"Quantity", M}, {"Dosage", T}, {"Route", T}, {"UnitCode", T},
              {"TotalAmount", M}});
    addTable(c, "Patient_Data", "tbOutPatientHistory",
             {{"IDNum", T}, {"Temperature", T}, {"RespiratoryRate", T}, {"BloodPressure", T}, {"PulseRate", T},
              {"Height", T}, {"Weight", T}});
    addTable(c, "Station", "tbNurseProfile",
             {{"IDNum", T}, {"CF4Status", T}, {"CF4AssignedTo", T}, {"CF4OpenBy", T}, {"CF4OpenOn", D},
              {"CF4VerifiedOn", D}, {"CF4VerifiedBy", T}, {"ChangeBy", T}});
    addTable(c, "Station", "tbCourseWard", {{"IDNum", T}, {"Note", T}});
    addTable(c, "Build_File", "tbcoDoctor",
             {{"DoctorID", T}, {"LastName", T}, {"FirstName", T}, {"SpecializationID", T}});
    addTable(c, "Build_File", "tbcoSpecialization", {{"SpecializationID", T}, {"Specialization", T}});
    addTable(c, "Build_File", "tbcoService", {{"ServiceID", T}, {"Service", T}});
    addTable(c, "Build_File", "tbcoCompany", {{"AccountNum", T}, {"Company", T}});
    addTable(c, "MEDICARE", "tbMedElectronicClaimStatus", {{"ClaimDateReceived", D}, {"status", T}});
    return c;
}

std::string translationError(const std::string& tsql, const Catalog& catalog)
{
    try {
        translateTsql(tsql, catalog);
    } catch (const TranslationError& e) {
        return e.what();
    }
    return "(translated)";
}

const std::initializer_list<std::pair<const char*, const char*>> kAllHisTables = {
    {"Patient_Data", "tbPatient"}, {"Patient_Data", "tbOutPatient"}, {"Patient_Data", "tbMaster"},
    {"Patient_Data", "tbPatientConditions"}, {"Patient_Data", "tbPatientMedicine"},
    {"Patient_Data", "tbOutPatientHistory"}, {"Station", "tbNurseProfile"}, {"Station", "tbCourseWard"},
    {"Build_File", "tbcoDoctor"}, {"Build_File", "tbcoSpecialization"}, {"Build_File", "tbcoService"},
    {"Build_File", "tbcoCompany"}, {"MEDICARE", "tbMedElectronicClaimStatus"}};

EmbeddedDb::EmbeddedDb(const Catalog& catalog, std::initializer_list<std::pair<const char*, const char*>> tables)
    : m_catalog(catalog)
{
    EXPECT_EQ(sqlite3_open(":memory:", &m_db), SQLITE_OK);
    registerSqlServerCompat(m_db);
    for (const char* name : {"Patient_Data", "Build_File", "Station", "MEDICARE"})
        exec(std::string("ATTACH ':memory:' AS ") + name);
    const std::pair<const char*, int> functions[] = {{"tsql_style0", 1}, {"tsql_datediff_day", 2},
        {"tsql_month", 1}, {"tsql_year", 1}, {"tsql_varchar", 2}, {"tsql_datetime", 1}, {"tsql_add", 2}};
    for (const auto& [name, args] : functions) {
        sqlite3_stmt* probe = nullptr;
        std::string sql = std::string("SELECT ") + name + (args == 1 ? "(NULL)" : "(NULL, NULL)");
        if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &probe, nullptr) != SQLITE_OK) {
            sqlite3_create_function_v2(m_db, name, args, SQLITE_UTF8, nullptr, placeholderFunction, nullptr,
                                       nullptr, nullptr);
            m_placeholders = true;
        }
        sqlite3_finalize(probe);
    }
    for (const auto& [schema, table] : tables) {
        const TableInfo* info = catalog.find(schema, table);
        EXPECT_NE(info, nullptr) << table;
        std::string ddl = std::string("CREATE TABLE ") + schema + "." + table + " (";
        for (std::size_t i = 0; i < info->columns.size(); ++i)
            ddl += (i ? ", " : "") + info->columns[i].name + " " + declaredType(info->columns[i].type);
        exec(ddl + ")");
    }
}

EmbeddedDb::~EmbeddedDb()
{
    sqlite3_close(m_db);
}

void EmbeddedDb::exec(const std::string& sql)
{
    char* error = nullptr;
    ASSERT_EQ(sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "")
                                                                                  << "\n" << sql;
}

std::vector<std::string> EmbeddedDb::rows(const std::string& tsql)
{
    const Translation t = translateTsql(tsql, m_catalog);
    sqlite3_stmt* stmt = nullptr;
    const int rc = sqlite3_prepare_v2(m_db, t.sql.c_str(), -1, &stmt, nullptr);
    EXPECT_EQ(rc, SQLITE_OK) << sqlite3_errmsg(m_db) << "\n" << t.sql;
    std::vector<std::string> out;
    if (rc != SQLITE_OK)
        return out;
    m_names.clear();
    for (int c = 0; c < sqlite3_column_count(stmt); ++c)
        m_names.emplace_back(sqlite3_column_name(stmt, c));
    int step;
    while ((step = sqlite3_step(stmt)) == SQLITE_ROW) {
        std::string row;
        for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
            const auto* text = sqlite3_column_text(stmt, c);
            row += (c ? "|" : "") + (text ? std::string(reinterpret_cast<const char*>(text)) : "<null>");
        }
        out.push_back(row);
    }
    EXPECT_EQ(step, SQLITE_DONE) << sqlite3_errmsg(m_db) << "\n" << t.sql;
    sqlite3_finalize(stmt);
    return out;
}

std::string EmbeddedDb::outcome(const std::string& tsql)
{
    Translation t;
    try {
        t = translateTsql(tsql, m_catalog);
    } catch (const TranslationError& e) {
        return std::string("ERROR: ") + e.what();
    }
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(m_db, t.sql.c_str(), static_cast<int>(t.sql.size()), &stmt, nullptr) != SQLITE_OK)
        return "ERROR: " + preparedStatementMessage(sqlite3_errmsg(m_db));
    std::string out;
    int step;
    bool first = true;
    while ((step = sqlite3_step(stmt)) == SQLITE_ROW) {
        if (!first)
            out += '\n';
        first = false;
        for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
            const auto* text = sqlite3_column_text(stmt, c);
            out += (c ? "|" : "") + (text ? std::string(reinterpret_cast<const char*>(text)) : "<null>");
        }
    }
    if (step != SQLITE_DONE)
        out = std::string("ERROR: ") + sqlite3_errmsg(m_db);
    sqlite3_finalize(stmt);
    return out;
}

std::string EmbeddedDb::prepareError(const std::string& tsql, std::vector<std::string>* names)
{
    const Translation t = translateTsql(tsql, m_catalog);
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(m_db, t.sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
        return std::string(sqlite3_errmsg(m_db)) + "\n" + t.sql;
    if (names) {
        for (int c = 0; c < sqlite3_column_count(stmt); ++c)
            names->emplace_back(sqlite3_column_name(stmt, c));
    }
    sqlite3_finalize(stmt);
    return {};
}

} // namespace vantik::sqlcompat::test
