#include "ecf4/cf4_libraries.h"

namespace vantik::ecf4 {

namespace {

constexpr bool A = true;  // active
constexpr bool D = false; // deactivated

constexpr LibraryEntry kSkin[] = {
    {"1", "Essentially normal", A}, {"2", "Clubbing", A}, {"3", "Cold clammy", A},
    {"4", "Cyanosis/mottled skin", A}, {"5", "Edema/swelling", A}, {"6", "Decreased mobility", A},
    {"7", "Pale nailbeds", A}, {"8", "Poor skin turgor", A}, {"9", "Rashes/Petechiae", A},
    {"10", "Weak pulses", A}, {"99", "Others", A},
};

constexpr LibraryEntry kHeent[] = {
    {"1", "Anicteric sclerae", D}, {"2", "Intact tympanic mebrane", D}, {"3", "Pupils brisky reactive to light", D},
    {"4", "Tonsillopharyngeal congestion", D}, {"5", "Hypertropic tonsils", D}, {"6", "Alar flaring", D},
    {"7", "Nasal discharge", D}, {"8", "Aural discharge", D}, {"9", "Palpable mass", D}, {"10", "Exudates", D},
    {"11", "Essentially Normal", A}, {"12", "Abnormal pupillary reaction", A}, {"13", "Cervical lympadenopathy", A},
    {"14", "Dry mucous membrane", A}, {"15", "Icteric sclerae", A}, {"16", "Pale conjunctivae", A},
    {"17", "Sunken eyeballs", A}, {"18", "Sunken fontanelle", A}, {"99", "Others", A},
};

constexpr LibraryEntry kChest[] = {
    {"1", "Symmetrical chest expansion", D}, {"2", "Clear breath sounds", D}, {"3", "Retractions", A},
    {"4", "Crackles/rales", A}, {"5", "Wheezes", A}, {"6", "Essentially normal", A},
    {"7", "Asymmetrical chest expansion", A}, {"8", "Decreased breath sounds", A},
    {"9", "Enlarge Axillary Lymph Nodes", D}, {"10", "Lumps over breast(s)", A}, {"99", "Others", A},
};

constexpr LibraryEntry kHeart[] = {
    {"1", "Adynamic precordium", D}, {"2", "Normal rate regular rhythm", D}, {"3", "Heaves/trills", A},
    {"4", "Murmurs", A}, {"5", "Essentially normal", A}, {"6", "Displaced apex beat", A},
    {"7", "Irregular rhythm", A}, {"8", "Muffled heart sounds", A}, {"9", "Pericardial bulge", A},
    {"99", "Others", A},
};

constexpr LibraryEntry kAbdomen[] = {
    {"1", "Flat", D}, {"2", "Flabby", D}, {"3", "Globullar", D}, {"4", "Muscle guarding", D},
    {"5", "Tenderness", D}, {"6", "Palpable mass", D}, {"7", "Essentially normal", A},
    {"8", "Abdominal rigidity", A}, {"9", "Abdominal tenderness", A}, {"10", "Hyperactive bowel sounds", A},
    {"11", "Palpable mass(es)", A}, {"12", "Tympanitic/dull abdomen", A}, {"13", "Uterine contraction", A},
    {"99", "Others", A},
};

constexpr LibraryEntry kNeuro[] = {
    {"1", "Developmental delay", D}, {"2", "Seizures", D}, {"3", "Normal", D}, {"4", "Motor Deficit", D},
    {"5", "Sensory Deficit", D}, {"6", "Essentially normal", A}, {"7", "Abnormal gait", A},
    {"8", "Abnormal position sense", A}, {"9", "Abnormal sensation", A}, {"10", "Abnormal reflex(es)", A},
    {"11", "Poor/altered memory", A}, {"12", "Poor muscle tone/strength", A}, {"13", "Poor coordination", A},
    {"99", "Others", A},
};

constexpr LibraryEntry kGenitourinary[] = {
    {"1", "Essentially normal", A}, {"2", "Blood stained in exam finger", A}, {"3", "Cervical dilatation", A},
    {"4", "Presence of abnormal discharge", A}, {"99", "Others", A},
};

// "SKIN RASHES" is there twice: 29 is the one in use.
constexpr LibraryEntry kSignsSymptoms[] = {
    {"1", "ALTERED MENTAL SENSORIUM", A}, {"2", "ABDOMINAL CRAMP/PAIN", A}, {"3", "ANOREXIA", A},
    {"4", "BLEEDING GUMS", A}, {"5", "BODY WEAKNESS", A}, {"6", "BLURRING OF VISION", A},
    {"7", "CONSTIPATION", A}, {"8", "CHEST PAIN/DISCOMFORT", A}, {"9", "COUGH", A}, {"10", "DIARRHEA", A},
    {"11", "DIZZINESS", A}, {"12", "DYSPHAGIA", A}, {"13", "DYSPNEA", A}, {"14", "DYSURIA", A},
    {"15", "EPISTAXIS", A}, {"16", "FLANK OR LOWER BACK", D}, {"17", "FREQUENCY OF URINATION", A},
    {"18", "HEADACHE", A}, {"19", "HEMATEMESIS", A}, {"20", "HEMATURIA", A}, {"21", "HEMOPTYSIS", A},
    {"22", "IRRITABILITY", A}, {"23", "JAUNDICE", A}, {"24", "LEG CRAMPS OR PAIN", D},
    {"25", "LOWER EXTREMITY EDEMA", A}, {"26", "MYALGIA", A}, {"27", "ORTHOPNEA", A}, {"28", "PALPITATIONS", A},
    {"29", "SKIN RASHES", A}, {"30", "STOOL, BLOODY/BLACK TARRY/MUCOID", A}, {"31", "SKIN RASHES", D},
    {"32", "SWEATING", A}, {"33", "SEIZURES", A}, {"34", "URGENCY", A}, {"35", "VOMITING/NAUSEA", A},
    {"36", "WEIGHT LOSS", A}, {"37", "FEVER", A}, {"38", "PAIN", A}, {"X", "OTHERS", A},
};

constexpr LibraryInfo kLibraries[] = {
    {Library::Skin, "lib_skin", "Skin/extremities", "1", kSkin},
    {Library::Heent, "lib_heent", "HEENT", "11", kHeent},
    {Library::Chest, "lib_chest", "Chest/lungs", "6", kChest},
    {Library::Heart, "lib_heart", "Heart", "5", kHeart},
    {Library::Abdomen, "lib_abdomen", "Abdomen", "7", kAbdomen},
    {Library::Neuro, "lib_neuro", "Neuro", "6", kNeuro},
    {Library::Genitourinary, "lib_genitourinary", "GU (IE)", "1", kGenitourinary},
    {Library::SignsSymptoms, "lib_chief_complaint", "Signs and symptoms", nullptr, kSignsSymptoms},
};

static_assert(std::size(kLibraries) == kLibraryCount);

} // namespace

std::span<const LibraryInfo> libraries()
{
    return kLibraries;
}

const LibraryInfo& libraryInfo(Library library)
{
    return kLibraries[static_cast<int>(library)];
}

std::optional<Library> libraryNamed(QStringView name)
{
    for (const LibraryInfo& info : kLibraries) {
        if (name.compare(QLatin1String(info.name), Qt::CaseInsensitive) == 0)
            return info.library;
    }
    return std::nullopt;
}

const LibraryEntry* libraryEntry(Library library, QStringView id)
{
    for (const LibraryEntry& entry : libraryInfo(library).entries) {
        if (id == QLatin1String(entry.id))
            return &entry;
    }
    return nullptr;
}

} // namespace vantik::ecf4
