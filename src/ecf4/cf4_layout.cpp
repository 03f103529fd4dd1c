#include "ecf4/cf4_layout.h"

#include <stdexcept>
#include <string>

namespace vantik::ecf4 {

namespace {

// Copied from CF4.dtd version 1.20, attribute by attribute; a test validates
// documents against the DTD itself.

constexpr const char* kEpcb[] = {
    "pUsername", "pPassword", "pHciAccreNo", "pEnlistTotalCnt", "pProfileTotalCnt", "pSoapTotalCnt", "pEmrId",
    "pCertificationId", "pHciTransmittalNumber",
};

constexpr const char* kEnlistment[] = {
    "pEClaimId", "pEClaimsTransmittalId", "pHciCaseNo", "pHciTransNo", "pEffYear", "pEnlistStat", "pEnlistDate",
    "pPackageType", "pMemPin", "pMemFname", "pMemMname", "pMemLname", "pMemExtname", "pMemDob", "pMemCat",
    "pMemNcat", "pPatientPin", "pPatientFname", "pPatientMname", "pPatientLname", "pPatientExtname", "pPatientType",
    "pPatientSex", "pPatientContactno", "pPatientDob", "pPatientAddbrgy", "pPatientAddmun", "pPatientAddprov",
    "pPatientAddreg", "pPatientAddzipcode", "pCivilStatus", "pWithConsent", "pWithLoa", "pWithDisability",
    "pDependentType", "pTransDate", "pCreatedBy", "pReportStatus", "pDeficiencyRemarks", "pAvailFreeService",
};

constexpr const char* kProfile[] = {
    "pHciTransNo", "pHciCaseNo", "pPatientPin", "pPatientType", "pMemPin", "pProfDate", "pRemarks", "pEffYear",
    "pProfileATC", "pReportStatus", "pDeficiencyRemarks",
};

constexpr const char* kOinfo[] = {
    "pPatientPob", "pPatientAge", "pPatientOccupation", "pPatientEducation", "pPatientReligion",
    "pPatientMotherMnln", "pPatientMotherMnmi", "pPatientMotherFn", "pPatientMotherExtn", "pPatientMotherBday",
    "pPatientFatherLn", "pPatientFatherMi", "pPatientFatherFn", "pPatientFatherExtn", "pPatientFatherBday",
    "pReportStatus", "pDeficiencyRemarks",
};

constexpr const char* kMedhist[] = {
    "pMdiseaseCode", "pReportStatus", "pDeficiencyRemarks",
};

constexpr const char* kMhspecific[] = {
    "pMdiseaseCode", "pSpecificDesc", "pReportStatus", "pDeficiencyRemarks",
};

constexpr const char* kSurghist[] = {
    "pSurgDesc", "pSurgDate", "pReportStatus", "pDeficiencyRemarks",
};

constexpr const char* kFamhist[] = {
    "pMdiseaseCode", "pReportStatus", "pDeficiencyRemarks",
};

constexpr const char* kFhspecific[] = {
    "pMdiseaseCode", "pSpecificDesc", "pReportStatus", "pDeficiencyRemarks",
};

constexpr const char* kSochist[] = {
    "pIsSmoker", "pNoCigpk", "pIsAdrinker", "pNoBottles", "pIllDrugUser", "pReportStatus", "pDeficiencyRemarks",
};

constexpr const char* kImmunization[] = {
    "pChildImmcode", "pYoungwImmcode", "pPregwImmcode", "pElderlyImmcode", "pOtherImm", "pReportStatus",
    "pDeficiencyRemarks",
};

constexpr const char* kMenshist[] = {
    "pMenarchePeriod", "pLastMensPeriod", "pPeriodDuration", "pMensInterval", "pPadsPerDay", "pOnsetSexIc",
    "pBirthCtrlMethod", "pIsMenopause", "pMenopauseAge", "pIsApplicable", "pReportStatus", "pDeficiencyRemarks",
};

constexpr const char* kPreghist[] = {
    "pPregCnt", "pDeliveryCnt", "pDeliveryTyp", "pFullTermCnt", "pPrematureCnt", "pAbortionCnt", "pLivChildrenCnt",
    "pWPregIndhyp", "pWFamPlan", "pReportStatus", "pDeficiencyRemarks",
};

constexpr const char* kBloodtype[] = {
    "pBloodType", "pBloodRh", "pReportStatus", "pDeficiencyRemarks",
};

constexpr const char* kPegensurvey[] = {
    "pGenSurveyId", "pGenSurveyRem", "pReportStatus", "pDeficiencyRemarks",
};

constexpr const char* kPemisc[] = {
    "pSkinId", "pHeentId", "pChestId", "pHeartId", "pAbdomenId", "pNeuroId", "pGuId", "pRectalId", "pReportStatus",
    "pDeficiencyRemarks",
};

constexpr const char* kNcdqans[] = {
    "pQid1_Yn", "pQid2_Yn", "pQid3_Yn", "pQid4_Yn", "pQid5_Ynx", "pQid6_Yn", "pQid7_Yn", "pQid8_Yn", "pQid9_Yn",
    "pQid10_Yn", "pQid11_Yn", "pQid12_Yn", "pQid13_Yn", "pQid14_Yn", "pQid15_Yn", "pQid16_Yn", "pQid17_Abcde",
    "pQid18_Yn", "pQid19_Yn", "pQid19_Fbsmg", "pQid19_Fbsmmol", "pQid19_Fbsdate", "pQid20_Yn", "pQid20_Choleval",
    "pQid20_Choledate", "pQid21_Yn", "pQid21_Ketonval", "pQid21_Ketondate", "pQid22_Yn", "pQid22_Proteinval",
    "pQid22_Proteindate", "pQid23_Yn", "pQid24_Yn", "pReportStatus", "pDeficiencyRemarks",
};

constexpr const char* kSoap[] = {
    "pHciTransNo", "pHciCaseNo", "pPatientPin", "pPatientType", "pMemPin", "pSoapDate", "pEffYear", "pSoapATC",
    "pReportStatus", "pDeficiencyRemarks",
};

constexpr const char* kSubjective[] = {
    "pChiefComplaint", "pIllnessHistory", "pOtherComplaint", "pSignsSymptoms", "pPainSite", "pReportStatus",
    "pDeficiencyRemarks",
};

constexpr const char* kPepert[] = {
    "pSystolic", "pDiastolic", "pHr", "pRr", "pTemp", "pHeight", "pWeight", "pVision", "pLength", "pHeadCirc",
    "pReportStatus", "pDeficiencyRemarks",
};

constexpr const char* kPespecific[] = {
    "pSkinRem", "pHeentRem", "pChestRem", "pHeartRem", "pAbdomenRem", "pNeuroRem", "pRectalRem", "pGuRem",
    "pReportStatus", "pDeficiencyRemarks",
};

constexpr const char* kIcds[] = {
    "pIcdCode", "pReportStatus", "pDeficiencyRemarks",
};

constexpr const char* kDiagnostic[] = {
    "pDiagnosticId", "pOthRemarks", "pReportStatus", "pDeficiencyRemarks",
};

constexpr const char* kManagement[] = {
    "pManagementId", "pOthRemarks", "pReportStatus", "pDeficiencyRemarks",
};

constexpr const char* kAdvice[] = {
    "pRemarks", "pReportStatus", "pDeficiencyRemarks",
};

constexpr const char* kMedicine[] = {
    "pHciCaseNo", "pHciTransNo", "pDrugCode", "pGenericName", "pGenericCode", "pSaltCode", "pStrengthCode",
    "pFormCode", "pUnitCode", "pPackageCode", "pRoute", "pQuantity", "pActualUnitPrice", "pCoPayment",
    "pTotalAmtPrice", "pInstructionQuantity", "pInstructionStrength", "pInstructionFrequency", "pPrescPhysician",
    "pIsApplicable", "pDateAdded", "pModule", "pReportStatus", "pDeficiencyRemarks",
};

constexpr const char* kCourseward[] = {
    "pHciCaseNo", "pHciTransNo", "pDateAction", "pDoctorsAction", "pReportStatus", "pDeficiencyRemarks",
};

constexpr const char* kLabresult[] = {
    "pHciCaseNo", "pPatientPin", "pPatientType", "pMemPin", "pEffYear",
};

constexpr const char* kCbc[] = {
    "pHciTransNo", "pReferralFacility", "pLabDate", "pHematocrit", "pHemoglobinG", "pHemoglobinMmol", "pMhcPg",
    "pMhcFmol", "pMchcGhb", "pMchcMmol", "pMcvUm", "pMcvFl", "pWbc1000", "pWbc10", "pMyelocyte", "pNeutrophilsBnd",
    "pNeutrophilsSeg", "pLymphocytes", "pMonocytes", "pEosinophils", "pBasophils", "pPlatelet", "pDateAdded",
    "pIsApplicable", "pModule", "pDiagnosticLabFee", "pCoPay", "pReportStatus", "pDeficiencyRemarks",
};

constexpr const char* kUrinalysis[] = {
    "pHciTransNo", "pReferralFacility", "pLabDate", "pGravity", "pAppearance", "pColor", "pGlucose", "pProteins",
    "pKetones", "pPh", "pRbCells", "pWbCells", "pBacteria", "pCrystals", "pBladderCell", "pSquamousCell",
    "pTubularCell", "pBroadCasts", "pEpithelialCast", "pGranularCast", "pHyalineCast", "pRbcCast", "pWaxyCast",
    "pWcCast", "pAlbumin", "pPusCells", "pDateAdded", "pIsApplicable", "pModule", "pDiagnosticLabFee", "pCoPay",
    "pReportStatus", "pDeficiencyRemarks",
};

constexpr const char* kChestxray[] = {
    "pHciTransNo", "pReferralFacility", "pLabDate", "pFindings", "pRemarksFindings", "pObservation",
    "pRemarksObservation", "pDateAdded", "pIsApplicable", "pModule", "pDiagnosticLabFee", "pCoPay", "pReportStatus",
    "pDeficiencyRemarks",
};

constexpr const char* kSputum[] = {
    "pHciTransNo", "pReferralFacility", "pLabDate", "pDataCollection", "pFindings", "pRemarks", "pNoPlusses",
    "pDateAdded", "pIsApplicable", "pModule", "pDiagnosticLabFee", "pCoPay", "pReportStatus", "pDeficiencyRemarks",
};

constexpr const char* kLipidprof[] = {
    "pHciTransNo", "pReferralFacility", "pLabDate", "pLdl", "pHdl", "pTotal", "pCholesterol", "pTriglycerides",
    "pDateAdded", "pIsApplicable", "pModule", "pDiagnosticLabFee", "pCoPay", "pReportStatus", "pDeficiencyRemarks",
};

constexpr const char* kFbs[] = {
    "pHciTransNo", "pReferralFacility", "pLabDate", "pGlucoseMg", "pGlucoseMmol", "pDateAdded", "pIsApplicable",
    "pModule", "pDiagnosticLabFee", "pCoPay", "pReportStatus", "pDeficiencyRemarks",
};

constexpr const char* kEcg[] = {
    "pHciTransNo", "pReferralFacility", "pLabDate", "pFindings", "pRemarks", "pDateAdded", "pIsApplicable",
    "pModule", "pDiagnosticLabFee", "pCoPay", "pReportStatus", "pDeficiencyRemarks",
};

constexpr const char* kFecalysis[] = {
    "pHciTransNo", "pReferralFacility", "pLabDate", "pColor", "pConsistency", "pRbc", "pWbc", "pOva", "pParasite",
    "pBlood", "pOccultBlood", "pPusCells", "pDateAdded", "pIsApplicable", "pModule", "pDiagnosticLabFee", "pCoPay",
    "pReportStatus", "pDeficiencyRemarks",
};

constexpr const char* kPapssmear[] = {
    "pHciTransNo", "pReferralFacility", "pLabDate", "pFindings", "pImpression", "pDateAdded", "pIsApplicable",
    "pModule", "pDiagnosticLabFee", "pCoPay", "pReportStatus", "pDeficiencyRemarks",
};

constexpr const char* kOgtt[] = {
    "pHciTransNo", "pReferralFacility", "pLabDate", "pExamFastingMg", "pExamFastingMmol", "pExamOgttOneHrMg",
    "pExamOgttOneHrMmol", "pExamOgttTwoHrMg", "pExamOgttTwoHrMmol", "pDateAdded", "pIsApplicable", "pModule",
    "pDiagnosticLabFee", "pCoPay", "pReportStatus", "pDeficiencyRemarks",
};

constexpr ElementLayout kLayout[] = {
    {"EPCB", kEpcb}, {"ENLISTMENT", kEnlistment}, {"PROFILE", kProfile}, {"OINFO", kOinfo},
    {"MEDHIST", kMedhist}, {"MHSPECIFIC", kMhspecific}, {"SURGHIST", kSurghist}, {"FAMHIST", kFamhist},
    {"FHSPECIFIC", kFhspecific}, {"SOCHIST", kSochist}, {"IMMUNIZATION", kImmunization}, {"MENSHIST", kMenshist},
    {"PREGHIST", kPreghist}, {"BLOODTYPE", kBloodtype}, {"PEGENSURVEY", kPegensurvey}, {"PEMISC", kPemisc},
    {"NCDQANS", kNcdqans}, {"SOAP", kSoap}, {"SUBJECTIVE", kSubjective}, {"PEPERT", kPepert},
    {"PESPECIFIC", kPespecific}, {"ICDS", kIcds}, {"DIAGNOSTIC", kDiagnostic}, {"MANAGEMENT", kManagement},
    {"ADVICE", kAdvice}, {"MEDICINE", kMedicine}, {"COURSEWARD", kCourseward}, {"LABRESULT", kLabresult},
    {"CBC", kCbc}, {"URINALYSIS", kUrinalysis}, {"CHESTXRAY", kChestxray}, {"SPUTUM", kSputum},
    {"LIPIDPROF", kLipidprof}, {"FBS", kFbs}, {"ECG", kEcg}, {"FECALYSIS", kFecalysis}, {"PAPSSMEAR", kPapssmear},
    {"OGTT", kOgtt},
};

} // namespace

std::span<const ElementLayout> cf4Layout()
{
    return kLayout;
}

const ElementLayout& elementLayout(std::string_view name)
{
    for (const ElementLayout& layout : kLayout) {
        if (name == layout.name)
            return layout;
    }
    throw std::logic_error("CF4.dtd declares no element " + std::string(name));
}

} // namespace vantik::ecf4
