#include "batchupdate/drug_update.h"

#include "host/data/sql_quote.h"

namespace vantik::batchupdate {

const std::array<QString, kDrugColumnCount>& drugColumnTitles()
{
    static const std::array<QString, kDrugColumnCount> titles{
        QStringLiteral("IDNum"), QStringLiteral("GenericName"), QStringLiteral("Quantity"),
        QStringLiteral("Dosage"), QStringLiteral("Route"),       QStringLiteral("UnitCode"),
        QStringLiteral("TotalAmount"),
    };
    return titles;
}

QString drugQuery(const QString& patientId)
{
    return QStringLiteral("select IDNum,GenericName,Quantity,Dosage,Route,UnitCode,TotalAmount from "
                          "PATIENT_DATA..tbPatientMedicine WITH (NOLOCK)  WHERE IDNUM='")
        + sqlQuote(patientId) + QStringLiteral("'");
}

QString batchUpdateInstructions()
{
    static const char* const lines[] = {
        " 1. Search for claims to update in the Claims Worklist window;",
        " 2. On this form, Click on List Drugs to list the drugs for those patients;",
        " 3. Click a drug name to be updated;",
        " 4. Enter the value to be replaced under the 'Find' boxes;",
        " 5. Enter the new value in the 'Replace with' row;",
        " 6. Click on the 'Update Drugs', a list of Drugs to be updated will be displayed;",
        " 7. If listed drugs to be updated looks good, uncheck the 'Simulate' box;",
        " 8. Click on the 'Update Drugs' button to find, replace, and update the data.",
    };
    QString text = QStringLiteral("Instructions: \r\n");
    for (const char* line : lines)
        text += QString::fromLatin1(line) + QStringLiteral("\r\n");
    return text;
}

std::vector<DrugFieldChange> findAndReplace(const DrugRecordTexts& record, const BoxTexts& find,
                                            const BoxTexts& replace)
{
    bool matched = false;
    for (int j = 0; j < kBoxCount; ++j) {
        if (find[j].isEmpty())
            continue;
        matched = record.box(j) == find[j];
        if (!matched)
            break;
    }
    if (!matched)
        return {};

    std::vector<DrugFieldChange> changes;
    for (int j = 0; j < kBoxCount; ++j) {
        if (record.box(j) != find[j] || find[j] == replace[j])
            continue;
        const QString line = record.fields[IDNum] + QStringLiteral(" ") + record.fields[GenericName]
            + QStringLiteral("  from:") + record.box(j) + QStringLiteral(" to:") + replace[j];
        changes.push_back({j, replace[j], line});
    }
    return changes;
}

QString replaceRefusal(const BoxTexts& find, const BoxTexts& replace)
{
    const int quantity = Quantity - kFirstBoxColumn;
    const QString& text = replace[quantity];
    bool number = false;
    const double value = text.trimmed().toDouble(&number);
    if (!number || !(value < 0) || find[quantity] == text)
        return QString();
    return QStringLiteral("A quantity cannot be negative: \"Repalce with\" Qty holds %1. Nothing was changed.")
        .arg(text);
}

} // namespace vantik::batchupdate
