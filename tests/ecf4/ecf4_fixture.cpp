#include "ecf4_fixture.h"

#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace vantik::test {

using namespace ecf4;

Cf4Form completeForm()
{
    Cf4Form f;
    f.accreditationNo = "H91001234";
    f.certificationId = "ECL-VANTIK-2026-00017";
    f.userName = "DEMOHOSP-ECLAIMS";
    f.idNum = "26000742";
    f.exportDate = QDate(2026, 12, 1);
    f.admitted = QDate(2026, 11, 1);
    f.pin = "154329978249";
    f.patientType = f.hisPatientType = "MM";
    f.sex = f.hisSex = "F";
    f.firstName = "Niña";
    f.middleName = "Dela Peña";
    f.lastName = "D'Souza";
    f.birthDate = QDate(1990, 5, 12);
    f.ageYears = 36;
    f.chiefComplaint = "Fever";
    f.illnessHistory = "3 days fever and cough";
    f.pastHistory = "Hypertension, maintained on losartan";
    f.signs = {{"9", "Cough"}, {"37", "Fever"}};
    f.genSurveyId = "1";
    f.vitalsRecorded = true;
    f.bloodPressure = "120/80";
    f.systolic = "120";
    f.diastolic = "80";
    f.heartRate = "88";
    f.respiratoryRate = "20";
    f.temperature = "37.5";
    f.measured = true;
    f.height = "160";
    f.weight = "55.5";
    for (int s = 0; s < kExamSystems; ++s)
        f.exam[std::size_t(s)].findings = {{libraryInfo(Library(s)).essentiallyNormal, "Essentially normal"}};
    f.mensApplicable = "Y";
    f.lastPeriod = QDate(2026, 10, 20);
    f.pregnancyCounts = {"2", "2", "2", "0", "0", "2"};
    f.courseNotes = {{QDate(2026, 11, 1), "Admitted, IVF started."}, {QDate(2026, 11, 3), "May go home."}};
    Medicine coded;
    coded.hisName = "Ceftriaxone 1 g VIAL";
    coded.drugCode = "CEFTR0002000644SOL3200000VIALX";
    coded.parts = {"CEFTR", "00020", "00644", "SOL32", "00000", "VIALX"};
    coded.route = "IV";
    coded.quantity = "7";
    coded.totalPrice = "1050.00";
    coded.frequency = "-";
    coded.added = QDate(2026, 11, 1);
    f.medicines = {coded};
    return f;
}

std::vector<XmlElement> readElements(const QByteArray& document)
{
    std::vector<XmlElement> elements;
    QXmlStreamReader reader(document);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        XmlElement element{reader.name().toString(), {}};
        for (const QXmlStreamAttribute& attribute : reader.attributes())
            element.attributes.insert(attribute.name().toString(), attribute.value().toString());
        elements.push_back(std::move(element));
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    return elements;
}

std::vector<XmlElement> elementsNamed(const std::vector<XmlElement>& all, const QString& name)
{
    std::vector<XmlElement> found;
    for (const XmlElement& element : all) {
        if (element.name == name)
            found.push_back(element);
    }
    return found;
}

QString sourceDtdPath()
{
    return QStringLiteral(VANTIK_SOURCE_DIR "/data/ecf4/CF4.dtd");
}

} // namespace vantik::test
