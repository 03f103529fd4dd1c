#include "ecf4/cf4_document.h"

#include "ecf4/cf4_layout.h"
#include "ecf4/cf4_rules.h"

#include <QStringList>

#include <algorithm>

#include <stdexcept>
#include <vector>

namespace vantik::ecf4 {

namespace {

/// One element's attribute values, in its layout's order. Every attribute starts
/// empty (the dictionary's "blank rows"), the report status at "U" (unvalidated).
class Element {
public:
    explicit Element(const char* name)
        : m_layout(elementLayout(name))
        , m_values(m_layout.attributes.size())
    {
        for (std::size_t i = 0; i < m_values.size(); ++i) {
            if (std::string_view(m_layout.attributes[i]) == "pReportStatus")
                m_values[i] = QStringLiteral("U");
        }
    }

    Element& set(const char* attribute, const QString& value)
    {
        for (std::size_t i = 0; i < m_values.size(); ++i) {
            if (std::string_view(m_layout.attributes[i]) == attribute) {
                m_values[i] = value;
                return *this;
            }
        }
        throw std::logic_error(std::string(m_layout.name) + " has no attribute " + attribute);
    }
    Element& set(const char* attribute, const char* value) { return set(attribute, QString::fromLatin1(value)); }

    const ElementLayout& layout() const { return m_layout; }
    const QString& value(std::size_t i) const { return m_values[i]; }

private:
    const ElementLayout& m_layout;
    std::vector<QString> m_values;
};

void appendEscaped(QByteArray& out, const QString& value, const char* attribute)
{
    if (forbiddenCharacterAt(value) >= 0)
        throw std::invalid_argument(std::string("The value of ") + attribute
                                    + " holds a character that an XML document cannot carry.");
    // Tab, line feed and carriage return as references: a parser turns them into
    // blanks when they stand in an attribute as they are.
    for (const char c : value.toUtf8()) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\t': out += "&#9;"; break;
        case '\n': out += "&#10;"; break;
        case '\r': out += "&#13;"; break;
        default: out += c; break;
        }
    }
}

class Writer {
public:
    Writer() { m_out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"; }

    void open(const char* container)
    {
        indent();
        m_out += '<';
        m_out += container;
        m_out += ">\n";
        ++m_depth;
    }
    void open(const Element& element)
    {
        start(element);
        m_out += ">\n";
        ++m_depth;
    }
    void close(const char* name)
    {
        --m_depth;
        indent();
        m_out += "</";
        m_out += name;
        m_out += ">\n";
    }
    void empty(const Element& element)
    {
        start(element);
        m_out += "/>\n";
    }

    QByteArray take() { return std::move(m_out); }

private:
    void indent() { m_out.append(QByteArray(m_depth * 2, ' ')); }
    void start(const Element& element)
    {
        indent();
        m_out += '<';
        m_out += element.layout().name;
        for (std::size_t i = 0; i < element.layout().attributes.size(); ++i) {
            const char* attribute = element.layout().attributes[i];
            m_out += ' ';
            m_out += attribute;
            m_out += "=\"";
            appendEscaped(m_out, element.value(i), attribute);
            m_out += '"';
        }
    }

    QByteArray m_out;
    int m_depth = 0;
};

// NOMED: "drugs and medicines not needed during this particular episode of care".
constexpr const char* kNoMedicineCode = "NOMED0000000000000000000000000";
constexpr const char* kNoComponent = "00000";
const char* const kPartAttributes[] = {"pGenericCode", "pSaltCode",  "pStrengthCode",
                                       "pFormCode",    "pUnitCode",  "pPackageCode"};
const char* const kExamIdAttributes[] = {"pSkinId",    "pHeentId", "pChestId", "pHeartId",
                                         "pAbdomenId", "pNeuroId", "pGuId"};
const char* const kExamRemarkAttributes[] = {"pSkinRem",    "pHeentRem", "pChestRem", "pHeartRem",
                                             "pAbdomenRem", "pNeuroRem", "pGuRem"};
const char* const kLaboratoryTests[] = {"CBC", "URINALYSIS", "CHESTXRAY", "SPUTUM",    "LIPIDPROF",
                                        "FBS", "ECG",        "FECALYSIS", "PAPSSMEAR", "OGTT"};

class DocumentBuilder {
public:
    explicit DocumentBuilder(const Cf4Form& form)
        : f(form)
        , m_year(form.exportDate.isValid() ? QString::number(form.exportDate.year()) : QString())
    {
    }

    QByteArray build()
    {
        m_writer.open(Element("EPCB")
                          .set("pUsername", f.userName)
                          .set("pHciAccreNo", f.accreditationNo)
                          .set("pCertificationId", f.certificationId));
        m_writer.open("ENLISTMENTS");
        m_writer.empty(enlistment());
        m_writer.close("ENLISTMENTS");
        m_writer.open("PROFILING");
        profile();
        m_writer.close("PROFILING");
        m_writer.open("SOAPS");
        soap();
        m_writer.close("SOAPS");
        m_writer.open("COURSEWARDS");
        for (const CourseNote& note : f.courseNotes) {
            m_writer.empty(referenced("COURSEWARD")
                               .set("pDateAction", cf4Date(note.date))
                               .set("pDoctorsAction", note.action));
        }
        m_writer.close("COURSEWARDS");
        laboratory();
        m_writer.open("MEDICINES");
        for (const Medicine& drug : f.medicines)
            m_writer.empty(medicine(drug));
        if (f.medicines.isEmpty())
            m_writer.empty(noMedicine());
        m_writer.close("MEDICINES");
        m_writer.close("EPCB");
        return m_writer.take();
    }

private:
    /// An element with the claim's reference in each of pHciCaseNo and pHciTransNo it has.
    Element referenced(const char* name) const
    {
        Element e(name);
        for (const char* const attribute : e.layout().attributes) {
            const std::string_view a(attribute);
            if (a == "pHciCaseNo" || a == "pHciTransNo")
                e.set(attribute, f.idNum);
        }
        return e;
    }

    Element enlistment()
    {
        Element e = referenced("ENLISTMENT");
        e.set("pEClaimId", f.idNum);
        e.set("pEffYear", m_year).set("pEnlistStat", "1").set("pEnlistDate", cf4Date(f.admitted));
        e.set("pPackageType", "A");
        e.set("pPatientPin", f.pin).set("pPatientFname", f.firstName).set("pPatientMname", f.middleName);
        e.set("pPatientLname", f.lastName).set("pPatientType", f.patientType).set("pPatientSex", f.sex);
        e.set("pPatientContactno", "NA").set("pPatientDob", cf4Date(f.birthDate));
        e.set("pCivilStatus", "U").set("pWithConsent", "X").set("pWithLoa", "X").set("pWithDisability", "X");
        e.set("pDependentType", "X").set("pTransDate", cf4Date(f.exportDate)).set("pCreatedBy", f.userName);
        e.set("pAvailFreeService", "X");
        return e;
    }

    void profile()
    {
        m_writer.open(referenced("PROFILE")
                          .set("pPatientPin", f.pin)
                          .set("pProfDate", cf4Date(f.admitted))
                          .set("pEffYear", m_year)
                          .set("pProfileATC", "CF4"));
        for (const char* blank : {"OINFO", "MEDHIST"})
            m_writer.empty(Element(blank));
        m_writer.empty(Element("MHSPECIFIC").set("pSpecificDesc", f.pastHistory));
        for (const char* blank : {"SURGHIST", "FAMHIST", "FHSPECIFIC", "SOCHIST", "IMMUNIZATION"})
            m_writer.empty(Element(blank));
        // What the two histories hold when they do not apply is not said: nothing.
        const bool applies = f.mensApplicable == QLatin1String("Y");
        m_writer.empty(Element("MENSHIST")
                           .set("pLastMensPeriod", applies ? cf4Date(f.lastPeriod) : QString())
                           .set("pIsApplicable", f.mensApplicable));
        Element pregnancies("PREGHIST");
        const char* const counts[] = {"pPregCnt",      "pDeliveryCnt", "pFullTermCnt",
                                      "pPrematureCnt", "pAbortionCnt", "pLivChildrenCnt"};
        for (std::size_t i = 0; i < f.pregnancyCounts.size(); ++i)
            pregnancies.set(counts[i], applies ? f.pregnancyCounts[i] : QString());
        m_writer.empty(pregnancies);
        m_writer.empty(vitalSigns());
        m_writer.empty(Element("BLOODTYPE"));
        m_writer.empty(Element("PEGENSURVEY").set("pGenSurveyId", f.genSurveyId).set("pGenSurveyRem", f.genSurveyRemark));
        exam();
        plan();
        m_writer.empty(Element("NCDQANS"));
        m_writer.close("PROFILE");
    }

    void soap()
    {
        m_writer.open(referenced("SOAP")
                          .set("pPatientPin", f.pin)
                          .set("pPatientType", f.patientType)
                          .set("pSoapDate", cf4Date(f.admitted))
                          .set("pEffYear", m_year)
                          .set("pSoapATC", "CF4"));
        QStringList signs;
        for (const CodedItem& sign : f.signs)
            signs << sign.id;
        m_writer.empty(Element("SUBJECTIVE")
                           .set("pChiefComplaint", f.chiefComplaint)
                           .set("pIllnessHistory", f.illnessHistory)
                           .set("pOtherComplaint", f.otherComplaint)
                           .set("pSignsSymptoms", signs.join(QLatin1Char(';')))
                           .set("pPainSite", f.painSite));
        m_writer.empty(vitalSigns());
        exam();
        m_writer.empty(Element("ICDS").set("pIcdCode", "000"));
        plan();
        m_writer.close("SOAP");
    }

    Element vitalSigns() const
    {
        Element e("PEPERT");
        e.set("pSystolic", f.systolic).set("pDiastolic", f.diastolic).set("pHr", f.heartRate);
        e.set("pRr", f.respiratoryRate).set("pTemp", f.temperature).set("pHeight", f.height).set("pWeight", f.weight);
        return e;
    }

    // Several findings of one system go into further PEMISC elements, the k-th
    // finding of each system in the k-th element; a system with fewer findings
    // leaves its ID empty there.
    void exam()
    {
        qsizetype rows = 1;
        for (const ExamSystem& system : f.exam)
            rows = std::max(rows, system.findings.size());
        for (qsizetype k = 0; k < rows; ++k) {
            Element findings("PEMISC");
            for (int s = 0; s < kExamSystems; ++s) {
                const auto& found = f.exam[std::size_t(s)].findings;
                findings.set(kExamIdAttributes[s], k < found.size() ? found[k].id : QString());
            }
            m_writer.empty(findings);
        }
        Element remarks("PESPECIFIC");
        for (int s = 0; s < kExamSystems; ++s)
            remarks.set(kExamRemarkAttributes[s], f.exam[std::size_t(s)].remark);
        m_writer.empty(remarks);
    }

    void plan()
    {
        m_writer.empty(Element("DIAGNOSTIC").set("pDiagnosticId", "0"));
        m_writer.empty(Element("MANAGEMENT").set("pManagementId", "0"));
        m_writer.empty(Element("ADVICE").set("pRemarks", "NA"));
    }

    void laboratory()
    {
        m_writer.open("LABRESULTS");
        m_writer.open(referenced("LABRESULT"));
        for (const char* test : kLaboratoryTests) {
            Element e = referenced(test);
            e.set("pIsApplicable", "N");
            if (std::string_view(test) == "SPUTUM")
                e.set("pDataCollection", "X");
            m_writer.empty(e);
        }
        m_writer.close("LABRESULT");
        m_writer.close("LABRESULTS");
    }

    Element medicine(const Medicine& drug) const
    {
        Element e = referenced("MEDICINE");
        e.set("pModule", "CF4");
        e.set("pDrugCode", drug.drugCode).set("pGenericName", drug.genericName);
        for (std::size_t i = 0; i < drug.parts.size(); ++i)
            e.set(kPartAttributes[i], drug.parts[i]);
        e.set("pRoute", drug.route).set("pQuantity", drug.quantity).set("pTotalAmtPrice", drug.totalPrice);
        e.set("pInstructionFrequency", drug.frequency).set("pIsApplicable", "Y");
        e.set("pDateAdded", cf4Date(drug.added));
        return e;
    }

    Element noMedicine() const
    {
        Element e = referenced("MEDICINE");
        e.set("pModule", "CF4");
        e.set("pDrugCode", kNoMedicineCode).set("pGenericCode", "NOMED");
        for (std::size_t i = 1; i < std::size(kPartAttributes); ++i)
            e.set(kPartAttributes[i], kNoComponent);
        e.set("pRoute", "-").set("pQuantity", "0").set("pTotalAmtPrice", "0.00");
        e.set("pInstructionFrequency", "-").set("pIsApplicable", "N");
        e.set("pDateAdded", cf4Date(f.exportDate));
        return e;
    }

    const Cf4Form& f;
    const QString m_year;
    Writer m_writer;
};

} // namespace

QString cf4Date(const QDate& date)
{
    return date.isValid() ? date.toString(QStringLiteral("yyyy-MM-dd")) : QString();
}

QByteArray writeCf4Document(const Cf4Form& form)
{
    return DocumentBuilder(form).build();
}

} // namespace vantik::ecf4
