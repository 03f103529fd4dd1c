#include "host/demodata/demo_vocabulary.h"

namespace vantik::demovocabulary {

namespace {

constexpr const char* kSurnames[] = {
    "Dela Cruz", "Santos", "Reyes", "Bautista", "Garcia", "Mendoza", "Villanueva", "Aquino", "Ramos",
    "Castillo", "Cruz", "Gonzales", "Flores", "Lopez", "Torres", "Rivera", "Fernandez", "Domingo", "Navarro",
    "Salazar", "Pascual", "Mercado", "Aguilar", "Manalo", "Dizon", "Tolentino", "De Leon", "Del Rosario",
    "Soriano", "Valdez", "Gutierrez", "Santiago", "Ocampo", "Castro", "Rosales", "Perez", "Lim", "Tan", "Sy",
    "Ong", "Macaraeg", "Magbanua", "Dimaculangan", "Panganiban", "Lacson", "Evangelista", "Marquez", "Ferrer",
    "Buenaventura", "Samonte", "Cabrera", "Manalastas", "Javier", "Sison", "Agustin", "Guevarra", "Serrano",
    "Padilla", "Quiambao", "Tiongson", "Yap", "Zamora", "Alcantara", "Pangilinan", "Sarmiento", "Espiritu",
    "Del Mundo", "Lagman", "Dela Pe\xc3\xb1" "a", "Mu\xc3\xb1oz", "Pe\xc3\xb1" "aranda", "D'Souza", "D'Angelo",
    "O'Neil", "Villareal", "Bernardo", "Valenzuela", "Mangubat", "Catapang", "Dalisay",
};

constexpr const char* kMaleFirstNames[] = {
    "Jose", "Juan", "Antonio", "Ramon", "Eduardo", "Roberto", "Ricardo", "Fernando", "Rogelio", "Danilo",
    "Ernesto", "Rodrigo", "Mark Anthony", "John Paul", "Christian", "Jerome", "Carlo", "Paolo", "Miguel",
    "Rafael", "Gabriel", "Angelo", "Renato", "Reynaldo", "Alfredo", "Efren", "Arnel", "Noel", "Joel",
    "Jayson", "Kevin", "Francis", "Jun", "Nestor", "Romeo", "Benigno", "Emmanuel", "Ma'ruf",
};

constexpr const char* kFemaleFirstNames[] = {
    "Maria", "Ma. Cristina", "Ma. Luisa", "Ana", "Rosario", "Teresita", "Gloria", "Corazon", "Leticia",
    "Erlinda", "Lourdes", "Carmela", "Kristine", "Jennifer", "Michelle", "Angelica", "Princess", "Joy",
    "Mary Grace", "Rowena", "Marites", "Divina", "Imelda", "Josefina", "Cecilia", "Rhea", "Camille",
    "Andrea", "Patricia", "Nicole", "Ligaya", "Maricel", "Jocelyn", "Ni\xc3\xb1" "a",
};

constexpr const char* kStreets[] = {
    "Rizal St.", "Mabini St.", "Bonifacio Ave.", "Luna St.", "Burgos St.", "Quezon Blvd.", "Del Pilar St.",
    "Sampaguita St.", "Ilang-Ilang St.", "Narra St.", "Molave St.", "Kalayaan Ave.", "Magsaysay Ave.",
};

constexpr const char* kTowns[] = {
    "Brgy. San Isidro, Quezon City", "Brgy. Poblacion, Makati City", "Brgy. Malanday, Marikina City",
    "Brgy. San Roque, Antipolo City", "Brgy. Bagong Silang, Caloocan City", "Brgy. Tumana, Marikina City",
    "Brgy. Dela Paz, Pasig City", "Brgy. Santolan, Pasig City", "Brgy. Sto. Ni\xc3\xb1o, Para\xc3\xb1" "aque City",
    "Brgy. Mayamot, Antipolo City", "Brgy. Concepcion, San Mateo, Rizal", "Brgy. San Jose, Rodriguez, Rizal",
};

constexpr Specialization kSpecializations[] = {
    {1, "Internal Medicine"}, {2, "General Surgery"}, {3, "Pediatrics"}, {4, "Obstetrics and Gynecology"},
    {5, "Orthopedic Surgery"}, {6, "Otorhinolaryngology"}, {7, "Ophthalmology"}, {8, "Nephrology"},
    {9, "Medical Oncology"}, {10, "Cardiology"}, {11, "Urology"}, {12, "Family Medicine"},
    {13, "Pulmonology"}, {14, "Anesthesiology"},
};

constexpr const char* kMedicineHistories[] = {
    "3 days fever and cough", "Known hypertensive, dizziness and headache", "Difficulty of breathing, known asthmatic",
    "Loose bowel movements x 2 days, vomiting", "Uncontrolled blood sugar, T2DM", "Chest pain on exertion",
    "Fever x 5 days, positive NS1, dengue", "Productive cough, CAP moderate risk", nullptr};
constexpr const char* kMedicineDiagnoses[] = {
    "Community-acquired pneumonia, moderate risk", "Hypertensive urgency", "Acute gastroenteritis",
    "Dengue fever with warning signs", "Type 2 diabetes mellitus, uncontrolled", "Bronchial asthma in exacerbation",
    nullptr};
constexpr const char* kSurgeryHistories[] = {
    "Abdominal pain RLQ x 1 day", "Right inguinal mass, reducible", "Epigastric pain radiating to the back",
    "Gunshot wound, left thigh", "Scheduled cholecystectomy", nullptr};
constexpr const char* kSurgeryDiagnoses[] = {
    "Acute appendicitis", "Inguinal hernia, right", "Cholelithiasis", "Acute pancreatitis", nullptr};
constexpr const char* kPediatricsHistories[] = {
    "High-grade fever x 2 days, febrile seizure", "Cough and colds, difficulty of breathing",
    "Vomiting and LBM, poor suck", "Newborn, term, via NSD", nullptr};
constexpr const char* kPediatricsDiagnoses[] = {
    "Pneumonia, pediatric", "Acute gastroenteritis with moderate dehydration", "Simple febrile seizure",
    "Live term newborn", nullptr};
constexpr const char* kObHistories[] = {
    "G2P1 (1001) 39 weeks AOG in labor", "G1P0 38 weeks AOG, leaking of fluid", "Vaginal bleeding, 8 weeks AOG",
    "G3P2 (2002) 40 weeks AOG, previous CS", "Myoma uteri, scheduled TAHBSO", nullptr};
constexpr const char* kObDiagnoses[] = {
    "Pregnancy uterine, term, delivered via NSD", "Pregnancy uterine, term, delivered via repeat LTCS",
    "Incomplete abortion", "Myoma uteri", nullptr};
constexpr const char* kOrthoHistories[] = {
    "Fall from height, right forearm pain", "Vehicular accident, left leg deformity", "Low back pain x 1 month",
    nullptr};
constexpr const char* kOrthoDiagnoses[] = {
    "Closed fracture, distal radius, right", "Open fracture, tibia, left", "Lumbar spondylosis", nullptr};
constexpr const char* kEntHistories[] = {
    "Ear pain and discharge", "Recurrent sore throat, for tonsillectomy", "Epistaxis", nullptr};
constexpr const char* kEntDiagnoses[] = {"Chronic otitis media", "Chronic tonsillitis", "Anterior epistaxis", nullptr};
constexpr const char* kOphthaHistories[] = {
    "Blurring of vision, right eye", "Scheduled cataract extraction, left eye", "Eye redness and discharge", nullptr};
constexpr const char* kOphthaDiagnoses[] = {"Senile cataract", "Bacterial conjunctivitis", "Pterygium", nullptr};
constexpr const char* kHemoHistories[] = {
    "Scheduled hemodialysis, ESRD secondary to DM nephropathy", "Hemodialysis 3x a week, CKD stage 5",
    "Scheduled hemodialysis, hypertensive nephrosclerosis", nullptr};
constexpr const char* kHemoDiagnoses[] = {
    "End-stage renal disease on maintenance hemodialysis", "CKD stage 5 secondary to diabetic nephropathy", nullptr};
constexpr const char* kOncoHistories[] = {
    "Cycle 3 chemotherapy, breast CA", "Cycle 1 chemotherapy, colon CA stage III", "Scheduled chemotherapy, NHL",
    "Cycle 5 chemotherapy, lung CA", nullptr};
constexpr const char* kOncoDiagnoses[] = {
    "Breast cancer, left, stage IIB", "Colon adenocarcinoma, stage III", "Non-Hodgkin lymphoma",
    "Non-small cell lung cancer", nullptr};
constexpr const char* kCardioHistories[] = {
    "Chest pain radiating to the left arm", "Palpitations and easy fatigability", nullptr};
constexpr const char* kCardioDiagnoses[] = {"Acute coronary syndrome", "Atrial fibrillation", nullptr};
constexpr const char* kUroHistories[] = {"Dysuria and flank pain", "Difficulty urinating, elderly male", nullptr};
constexpr const char* kUroDiagnoses[] = {"Urinary tract infection", "Benign prostatic hyperplasia", nullptr};
constexpr const char* kFamilyHistories[] = {
    "Annual check-up", "Dog bite, left leg", "Follow-up, hypertension", nullptr};
constexpr const char* kFamilyDiagnoses[] = {
    "Essential hypertension", "Animal bite, category III", "Upper respiratory tract infection", nullptr};

constexpr Service kServices[] = {
    {"MED", "Medicine", 1, 30, 18, kMedicineHistories, kMedicineDiagnoses},
    {"SURG", "Surgery", 2, 14, 8, kSurgeryHistories, kSurgeryDiagnoses},
    {"PEDIA", "Pediatrics", 3, 14, 14, kPediatricsHistories, kPediatricsDiagnoses},
    {"OB", "OB-Gyne", 4, 14, 10, kObHistories, kObDiagnoses},
    {"ORTHO", "Orthopedics", 5, 6, 6, kOrthoHistories, kOrthoDiagnoses},
    {"ENT", "ENT", 6, 3, 5, kEntHistories, kEntDiagnoses},
    {"OPHTHA", "Ophthalmology", 7, 2, 6, kOphthaHistories, kOphthaDiagnoses},
    {"HD", "Hemodialysis", 8, 2, 0, kHemoHistories, kHemoDiagnoses},
    {"ONCO", "Oncology", 9, 3, 0, kOncoHistories, kOncoDiagnoses},
    {"CARDIO", "Cardiology", 10, 6, 5, kCardioHistories, kCardioDiagnoses},
    {"URO", "Urology", 11, 3, 4, kUroHistories, kUroDiagnoses},
    {"FM", "Family Medicine", 12, 3, 24, kFamilyHistories, kFamilyDiagnoses},
};

constexpr Company kCompanies[] = {
    {"HMO0001", "Bayanihan Health Plan, Inc.", "HMO"},
    {"HMO0002", "Kalinga Care HMO Corp.", "HMO"},
    {"HMO0003", "Pacific Lifeline Health Systems", "HMO"},
    {"HMO0004", "Sampaguita Medical Plans, Inc.", "HMO"},
    {"HMO0005", "Tanglaw HealthCare Corp.", "HMO"},
    {"CMP0001", "Luzon Power and Light Co.", "COMPANY"},
    {"CMP0002", "Mabuhay Shipping Lines", "COMPANY"},
    {"CMP0003", "Visayas Agro-Industrial Corp.", "COMPANY"},
    {"CMP0004", "Kapitolyo Savings Bank", "COMPANY"},
    {"CMP0005", "Bagong Araw Foods, Inc.", "COMPANY"},
    {"CMP0006", "San Roque Cement Corp.", "COMPANY"},
    {"CMP0007", "O'Brien & Dizon Trading", "COMPANY"},
    {"CMP0008", "Pilipinas Contact Center Services", "COMPANY"},
    {"GOV0001", "City Health Office - Indigent Program", "GOVERNMENT"},
};

// The first eight are the everyday drugs; their names also appear in capitals,
// in lower case and with a trailing blank, as clerks typed them over the years.
constexpr Drug kDrugs[] = {
    {"Paracetamol", "Biogesic", "500 mg", "PO", "TAB", 2.50, 12},
    {"Amoxicillin", "Amoxil", "500 mg", "PO", "CAP", 6.00, 21},
    {"Cefuroxime", "Zinacef", "750 mg", "IV", "VIAL", 180.00, 9},
    {"Omeprazole", "Losec", "40 mg", "IV", "VIAL", 120.00, 6},
    {"Losartan", "Cozaar", "50 mg", "PO", "TAB", 9.00, 30},
    {"Metformin", "Glucophage", "500 mg", "PO", "TAB", 3.00, 30},
    {"Salbutamol", "Ventolin", "2.5 mg/2.5 mL", "INH", "NEB", 22.00, 12},
    {"Ceftriaxone", "Rocephin", "1 g", "IV", "VIAL", 150.00, 7},
    {"Amlodipine", "Norvasc", "5 mg", "PO", "TAB", 5.00, 30},
    {"Metronidazole", "Flagyl", "500 mg/100 mL", "IV", "BOT", 85.00, 9},
    {"Ketorolac", "Toradol", "30 mg", "IV", "AMP", 60.00, 6},
    {"Tramadol", "Dolcet", "50 mg", "IV", "AMP", 55.00, 6},
    {"Furosemide", "Lasix", "20 mg", "IV", "AMP", 25.00, 6},
    {"Insulin Regular", "Humulin R", "100 IU/mL", "SC", "VIAL", 450.00, 2},
    {"Oxytocin", "Syntocinon", "10 IU", "IM", "AMP", 70.00, 2},
    {"Ferrous Sulfate", "Fersul", "325 mg", "PO", "TAB", 2.00, 30},
    {"Cetirizine", "Virlix", "10 mg", "PO", "TAB", 4.00, 10},
    {"Ambroxol", "Mucosolvan", "30 mg", "PO", "TAB", 5.00, 15},
    {"Mefenamic Acid", "Ponstan", "500 mg", "PO", "CAP", 3.00, 10},
    {"Dexamethasone", "Decilone", "4 mg", "IV", "AMP", 30.00, 6},
    {"Sodium Chloride 0.9%", "PNSS", "1 L", "IV", "BOT", 75.00, 4},
    {"Lactated Ringer's", "Hartmann's", "1 L", "IV", "BOT", 80.00, 4},
    {"Hyoscine N-Butylbromide", "Buscopan", "20 mg", "IV", "AMP", 65.00, 4},
    {"Cefalexin", "Keflex", "500 mg", "PO", "CAP", 8.00, 21},
};

constexpr Drug kHemodialysisDrugs[] = {
    {"Epoetin Alfa", "Eprex", "4000 IU", "SC", "PFS", 1200.00, 1},
    {"Heparin", "Heparin Sodium", "5000 IU/mL", "IV", "VIAL", 250.00, 1},
    {"Iron Sucrose", "Venofer", "100 mg/5 mL", "IV", "AMP", 650.00, 1},
};

constexpr Drug kChemotherapyDrugs[] = {
    {"Ondansetron", "Zofran", "8 mg", "IV", "AMP", 95.00, 2},
    {"Paclitaxel", "Taxol", "300 mg/50 mL", "IV", "VIAL", 8500.00, 1},
    {"Carboplatin", "Paraplatin", "450 mg/45 mL", "IV", "VIAL", 6200.00, 1},
    {"Doxorubicin", "Adriamycin", "50 mg", "IV", "VIAL", 2400.00, 1},
};

constexpr const char* kCourseNotes[] = {
    "Admitted under the service. Vital signs taken, IVF started as ordered.",
    "Seen and examined by AP. Orders noted and carried out.",
    "Afebrile for the past 24 hours, tolerated diet.",
    "Patient comfortable, no episodes of vomiting.",
    "Labs reviewed: CBC, urinalysis, serum creatinine.",
    "Pain score 3/10, given analgesic as ordered.",
    "Referred to co-manager for clearance.",
    "Wound dry and intact, dressing changed.",
    "Ambulatory, with good appetite.",
    "May go home. Home medications and follow-up explained to patient's relative.",
};

constexpr const char* kDoctorOrders[] = {
    "Admit to ward under Dr. on duty",
    "Diet as tolerated, low salt low fat",
    "IVF: PNSS 1 L x 8 hrs",
    "CBC, urinalysis, FBS, creatinine, chest x-ray PA view",
    "Paracetamol 500 mg tab q4h PRN for fever >= 37.8",
    "Cefuroxime 750 mg IV q8h, ANST",
    "Omeprazole 40 mg IV OD",
    "Monitor vital signs q4h and record",
    "Refer to IM for co-management",
    "For hemodialysis 3x a week, heparin 5000 units",
    "Secure consent for the procedure",
    "May go home, follow up after 1 week",
};

constexpr const char* kChiefComplaints[] = {
    "Fever", "Cough", "Abdominal pain", "Headache", "Difficulty of breathing", "Vomiting", "Body weakness",
    "Dizziness", "Chest pain", "Follow-up check-up",
};

constexpr ExamEntry kExamEntries[] = {
    {"PhysicalExam", "HEENT", "Essentially normal"},
    {"PhysicalExam", "HEENT", "Anicteric sclerae"},
    {"PhysicalExam", "CHEST/LUNGS", "Essentially normal"},
    {"PhysicalExam", "CHEST/LUNGS", "Rales/crackles/rhonchi"},
    {"PhysicalExam", "CVS", "Essentially normal"},
    {"PhysicalExam", "CVS", "Irregular rhythm"},
    {"PhysicalExam", "ABDOMEN", "Essentially normal"},
    {"PhysicalExam", "ABDOMEN", "Direct and rebound tenderness"},
    {"PhysicalExam", "GU(IE)", "Essentially normal"},
    {"PhysicalExam", "GU(IE)", "Blood stained in exam finger"},
    {"PhysicalExam", "SKIN/EXTREMITIES", "Essentially normal"},
    {"PhysicalExam", "SKIN/EXTREMITIES", "Edema/swelling"},
    {"PhysicalExam", "NEURO-EXAM", "Essentially normal"},
    {"SignsSymptoms", "SIGNS", "Fever"},
    {"SignsSymptoms", "SIGNS", "Cough"},
    {"SignsSymptoms", "SIGNS", "Abdominal pain"},
    {"SignsSymptoms", "SIGNS", "Dyspnea"},
};

constexpr const char* kGuRemarks[] = {
    "Not Applicable", "Not Assessed", "No CVA tenderness", "Normal external genitalia", "Not Applicable",
};

template <typename T, std::size_t N>
std::span<const T> all(const T (&items)[N])
{
    return std::span<const T>(items, N);
}

} // namespace

std::span<const char* const> surnames() { return all(kSurnames); }
std::span<const char* const> maleFirstNames() { return all(kMaleFirstNames); }
std::span<const char* const> femaleFirstNames() { return all(kFemaleFirstNames); }
std::span<const char* const> streets() { return all(kStreets); }
std::span<const char* const> towns() { return all(kTowns); }
std::span<const Specialization> specializations() { return all(kSpecializations); }
std::span<const Service> services() { return all(kServices); }
std::span<const Company> companies() { return all(kCompanies); }
std::span<const Drug> drugs() { return all(kDrugs); }
int commonDrugCount() { return 8; }
std::span<const Drug> hemodialysisDrugs() { return all(kHemodialysisDrugs); }
std::span<const Drug> chemotherapyDrugs() { return all(kChemotherapyDrugs); }
std::span<const char* const> courseNotes() { return all(kCourseNotes); }
std::span<const char* const> doctorOrders() { return all(kDoctorOrders); }
std::span<const char* const> chiefComplaints() { return all(kChiefComplaints); }
std::span<const ExamEntry> examEntries() { return all(kExamEntries); }
std::span<const char* const> guRemarks() { return all(kGuRemarks); }

} // namespace vantik::demovocabulary
