#include "ecf4/code_mapping.h"

#include "ecf4/cf4_rules.h"
#include "host/data/recordset.h"
#include "host/data/sql_quote.h"

#include <QDateTime>
#include <QHash>

#include <algorithm>

namespace vantik::ecf4 {

namespace {

// The items as the code tables' lookup sees them: letter case and trailing blanks do not count.
QString itemKey(const QString& a, const QString& b, const QString& c)
{
    const auto part = [](const QString& text) {
        qsizetype end = text.size();
        while (end > 0 && text.at(end - 1) == QLatin1Char(' '))
            --end;
        return text.left(end).toLower();
    };
    return part(a) + QChar(0x1f) + part(b) + QChar(0x1f) + part(c);
}

template <typename Item>
void countItem(QList<Item>& items, QHash<QString, qsizetype>& index, const QString& key, Item item)
{
    const auto known = index.constFind(key);
    if (known != index.constEnd()) {
        ++items[*known].records;
        return;
    }
    item.records = 1;
    index.insert(key, items.size());
    items.push_back(std::move(item));
}

// Who changed the row and when, as the program's other tables record it: the clerk in capitals.
void stampChange(Recordset& row, const QString& changedBy)
{
    row.setField(QStringLiteral("ChangedBy"), changedBy.toUpper());
    row.setField(QStringLiteral("ChangedOn"), QDateTime::currentDateTime());
}

} // namespace

UncodedItems uncodedInClaims(Connection& connection, const QStringList& idNums,
                             const std::function<bool(int index, int count)>& afterClaim)
{
    requireCf4Tables(connection);
    const CodeTables codes = CodeTables::read(connection);
    UncodedItems items;
    QHash<QString, qsizetype> findingIndex, drugIndex;
    const int count = int(idNums.size());
    for (int i = 0; i < count; ++i) {
        if (const std::optional<Cf4Source> source = readCf4Source(connection, idNums[i])) {
            for (const Cf4Source::Condition& condition : source->conditions) {
                const FindingCode* code = codes.finding(condition.area, condition.subArea, condition.description);
                if (code && libraryNamed(code->library) && !code->id.isEmpty())
                    continue;
                countItem(items.findings, findingIndex,
                          itemKey(condition.area, condition.subArea, condition.description),
                          UncodedFinding{condition.area.trimmed(), condition.subArea.trimmed(),
                                         condition.description.trimmed(), 0,
                                         libraryNamed(codes.subAreaLibrary(condition.area, condition.subArea))});
            }
            for (const Cf4Source::Drug& drug : source->drugs) {
                const DrugCode* code = codes.drug(drug.genericName, drug.dosage, drug.unit);
                if (code && !code->code.isEmpty())
                    continue;
                countItem(items.drugs, drugIndex, itemKey(drug.genericName, drug.dosage, drug.unit),
                          UncodedDrug{drug.genericName.trimmed(), drug.dosage.trimmed(), drug.unit.trimmed(), 0});
            }
        }
        if (afterClaim && !afterClaim(i, count))
            break;
    }
    std::stable_sort(items.findings.begin(), items.findings.end(), [](const UncodedFinding& a, const UncodedFinding& b) {
        if (a.records != b.records)
            return a.records > b.records;
        return itemKey(a.area, a.subArea, a.description) < itemKey(b.area, b.subArea, b.description);
    });
    std::stable_sort(items.drugs.begin(), items.drugs.end(), [](const UncodedDrug& a, const UncodedDrug& b) {
        if (a.records != b.records)
            return a.records > b.records;
        return itemKey(a.genericName, a.dosage, a.unit) < itemKey(b.genericName, b.dosage, b.unit);
    });
    return items;
}

void saveFindingCode(Connection& connection, const UncodedFinding& finding, Library library, const QString& id,
                     const QString& changedBy)
{
    const LibraryEntry* entry = libraryEntry(library, id);
    if (!entry || !entry->active) {
        throw CodeEntryError(QStringLiteral("%1 has no active entry %2: PhilHealth takes only active entries.")
                                 .arg(QString::fromUtf8(libraryInfo(library).clerkName), id)
                                 .toStdString());
    }
    Recordset row;
    row.open(QStringLiteral("SELECT AreaCat, AreaSubCat, Description, Library, LibraryID, ChangedBy, ChangedOn "
                            "FROM MEDICARE..tbCF4FindingCode WHERE AreaCat = '%1' AND AreaSubCat = '%2' AND Description = '%3'")
                 .arg(sqlQuote(finding.area), sqlQuote(finding.subArea), sqlQuote(finding.description)),
             connection, CursorType::Dynamic, LockType::Optimistic);
    if (row.eof()) {
        row.addNew();
        row.setField(QStringLiteral("AreaCat"), finding.area);
        row.setField(QStringLiteral("AreaSubCat"), finding.subArea);
        row.setField(QStringLiteral("Description"), finding.description);
    }
    row.setField(QStringLiteral("Library"), QString::fromLatin1(libraryInfo(library).name));
    row.setField(QStringLiteral("LibraryID"), QString::fromLatin1(entry->id));
    stampChange(row, changedBy);
    row.update();
    row.close();
}

std::array<QString, 6> drugCodeParts(const QString& code)
{
    std::array<QString, 6> parts;
    for (std::size_t p = 0; p < parts.size(); ++p)
        parts[p] = code.mid(qsizetype(p) * 5, 5);
    return parts;
}

void saveDrugCode(Connection& connection, const UncodedDrug& drug, const QString& code, const QString& changedBy)
{
    const QString typed = code.trimmed();
    const std::array<QString, 6> parts = drugCodeParts(typed);
    if (const QString problem = drugCodeShapeProblem(typed, parts); !problem.isEmpty())
        throw CodeEntryError(problem.toStdString());
    Recordset row;
    row.open(QStringLiteral("SELECT HisGenericName, HisDosage, HisUnitCode, DrugCode, GenericCode, SaltCode, "
                            "StrengthCode, FormCode, UnitCode, PackageCode, ChangedBy, ChangedOn "
                            "FROM MEDICARE..tbCF4DrugCode WHERE HisGenericName = '%1' AND HisDosage = '%2' "
                            "AND HisUnitCode = '%3'")
                 .arg(sqlQuote(drug.genericName), sqlQuote(drug.dosage), sqlQuote(drug.unit)),
             connection, CursorType::Dynamic, LockType::Optimistic);
    if (row.eof()) {
        row.addNew();
        row.setField(QStringLiteral("HisGenericName"), drug.genericName);
        row.setField(QStringLiteral("HisDosage"), drug.dosage);
        row.setField(QStringLiteral("HisUnitCode"), drug.unit);
    }
    row.setField(QStringLiteral("DrugCode"), typed);
    static const char* const kPartColumns[] = {"GenericCode", "SaltCode", "StrengthCode",
                                               "FormCode",    "UnitCode", "PackageCode"};
    for (std::size_t p = 0; p < parts.size(); ++p)
        row.setField(QString::fromLatin1(kPartColumns[p]), parts[p]);
    stampChange(row, changedBy);
    row.update();
    row.close();
}

void saveFacility(Connection& connection, const Facility& facility, const QString& changedBy)
{
    Recordset row;
    row.open(QStringLiteral("SELECT FacilityID, HciAccreNo, CertificationID, UserName, ChangedBy, ChangedOn "
                            "FROM MEDICARE..tbCF4Facility WHERE FacilityID = 1"),
             connection, CursorType::Dynamic, LockType::Optimistic);
    if (row.eof()) {
        row.addNew();
        row.setField(QStringLiteral("FacilityID"), QStringLiteral("1"));
    }
    row.setField(QStringLiteral("HciAccreNo"), facility.accreditationNo.trimmed());
    row.setField(QStringLiteral("CertificationID"), facility.certificationId.trimmed());
    row.setField(QStringLiteral("UserName"), facility.userName.trimmed());
    stampChange(row, changedBy);
    row.update();
    row.close();
}

} // namespace vantik::ecf4
