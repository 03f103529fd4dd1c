#pragma once

#include <QString>
#include <QStringView>

#include <optional>
#include <span>

namespace vantik::ecf4 {

/// PhilHealth's code libraries that a CF4 carries IDs of: the seven physical-exam
/// systems, in the order of the PEMISC element, and the signs and symptoms.
enum class Library { Skin, Heent, Chest, Heart, Abdomen, Neuro, Genitourinary, SignsSymptoms };

inline constexpr int kExamSystems = 7; ///< Skin to Genitourinary
inline constexpr int kLibraryCount = 8;

struct LibraryEntry {
    const char* id;
    const char* description; ///< as PhilHealth spells it, typos included
    bool active;             ///< only active entries may be sent
};

struct LibraryInfo {
    Library library;
    const char* name;              ///< "lib_skin": how the code tables name it
    const char* clerkName;         ///< "Skin/extremities": how the clerk reads it
    const char* essentiallyNormal; ///< the ID that excludes every other finding; nullptr for symptoms
    std::span<const LibraryEntry> entries;
};

/// The libraries as PhilHealth publishes them, built into the program.
std::span<const LibraryInfo> libraries();
const LibraryInfo& libraryInfo(Library library);
/// The library called e.g. "lib_heent" (letter case ignored); none for another name.
std::optional<Library> libraryNamed(QStringView name);
/// The entry of that ID (exact: "7", not "7.0" or "07"); nullptr when the library has none.
const LibraryEntry* libraryEntry(Library library, QStringView id);

/// "Others": needs its system's remark.
inline constexpr const char* kOthersId = "99";
/// Signs and symptoms that need a text of their own.
inline constexpr const char* kPainId = "38";
inline constexpr const char* kOtherComplaintId = "X";

} // namespace vantik::ecf4
