// The genres of the FictionBook 2 format: each code with its display name.
//
// Every display name is a resource string named "FB2G_" followed by the genre code, so a
// language file translates it like any other message; the program registers the table
// with the other resource strings at start-up (app/ProgramResStrings.h). The rows stand in
// the order of registration, in 15 runs by family.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "platform/base/ResString.h"
#include "platform/base/Types.h"

inline constexpr char FB2GenrePrefix[] = "FB2G_";

inline constexpr TResStringRec FB2GenreRecords[] = {
    // Science fiction (12)
    {"FB2G_sf_history", "Alternative history"},
    {"FB2G_sf_action", "Action SF"},
    {"FB2G_sf_epic", "Epic SF"},
    {"FB2G_sf_heroic", "Heroic SF"},
    {"FB2G_sf_detective", "Detective SF"},
    {"FB2G_sf_cyberpunk", "Cyberpunk SF"},
    {"FB2G_sf_space", "Space SF"},
    {"FB2G_sf_social", "Social-philosophical SF"},
    {"FB2G_sf_horror", "Horror & mystic SF"},
    {"FB2G_sf_humor", "Humor SF"},
    {"FB2G_sf_fantasy", "Fantasy SF"},
    {"FB2G_sf", "Science Fiction"},
    // Detectives and thrillers (12)
    {"FB2G_det_classic", "Classical detectives"},
    {"FB2G_det_police", "Police Stories"},
    {"FB2G_det_action", "Action detectives"},
    {"FB2G_det_irony", "Ironical detectives"},
    {"FB2G_det_history", "Historical detectives"},
    {"FB2G_det_espionage", "Espionage detectives"},
    {"FB2G_det_crime", "Crime detectives"},
    {"FB2G_det_political", "Political detectives"},
    {"FB2G_det_maniac", "Maniacs"},
    {"FB2G_det_hard", "Hard-boiled"},
    {"FB2G_thriller", "Thrillers"},
    {"FB2G_detective", "Detectives"},
    // Prose (6)
    {"FB2G_prose_classic", "Classics prose"},
    {"FB2G_prose_history", "Historical prose"},
    {"FB2G_prose_contemporary", "Contemporary prose"},
    {"FB2G_prose_counter", "Counterculture"},
    {"FB2G_prose_rus_classic", "Russial classics prose"},
    {"FB2G_prose_su_classics", "Soviet classics prose"},
    // Love (5)
    {"FB2G_love_contemporary", "Contemporary Romance"},
    {"FB2G_love_history", "Historical Romance"},
    {"FB2G_love_detective", "Detective Romance"},
    {"FB2G_love_short", "Short Romance"},
    {"FB2G_love_erotica", "Erotica Romance"},
    // Adventure (7)
    {"FB2G_adv_western", "Western Adventure"},
    {"FB2G_adv_history", "History Adventure"},
    {"FB2G_adv_indian", "Indians Adventure"},
    {"FB2G_adv_maritime", "Maritime Fiction Adventure"},
    {"FB2G_adv_geo", "Travel & geography"},
    {"FB2G_adv_animal", "Nature & animals"},
    {"FB2G_adventure", "Adventure"},
    // Children (8)
    {"FB2G_child_tale", "Children's Fairy Tales"},
    {"FB2G_child_verse", "Children's Verses"},
    {"FB2G_child_prose", "Children's Prose"},
    {"FB2G_child_sf", "Children's Science Fiction"},
    {"FB2G_child_det", "Children's Detectives & Thrillers"},
    {"FB2G_child_adv", "Children's Adventures"},
    {"FB2G_child_education", "Children's Educational"},
    {"FB2G_children", "Children's Other"},
    // Poetry and dramaturgy (2)
    {"FB2G_poetry", "Poetry"},
    {"FB2G_dramaturgy", "Dramaturgy"},
    // Antique (6)
    {"FB2G_antique_ant", "Antique"},
    {"FB2G_antique_european", "Antique European"},
    {"FB2G_antique_russian", "Antique Old russian"},
    {"FB2G_antique_east", "Antique Old east"},
    {"FB2G_antique_myths", "Myths. Legends. Epos"},
    {"FB2G_antique", "Antique Other"},
    // Science and education (16)
    {"FB2G_sci_history", "History"},
    {"FB2G_sci_psychology", "Psychology"},
    {"FB2G_sci_culture", "Cultural science"},
    {"FB2G_sci_religion", "Religious studies"},
    {"FB2G_sci_philosophy", "Philosophy"},
    {"FB2G_sci_politics", "Politics"},
    {"FB2G_sci_business", "Business literature"},
    {"FB2G_sci_juris", "Jurisprudence"},
    {"FB2G_sci_linguistic", "Linguistics"},
    {"FB2G_sci_medicine", "Medicine"},
    {"FB2G_sci_phys", "Physics"},
    {"FB2G_sci_math", "Mathematics"},
    {"FB2G_sci_chem", "Chemistry"},
    {"FB2G_sci_biology", "Biology"},
    {"FB2G_sci_tech", "Technical"},
    {"FB2G_science", "Scientific-educational"},
    // Computers (7)
    {"FB2G_comp_www", "Internet"},
    {"FB2G_comp_programming", "Programming"},
    {"FB2G_comp_hard", "Hardware"},
    {"FB2G_comp_soft", "Software"},
    {"FB2G_comp_db", "Databases"},
    {"FB2G_comp_osnet", "OS & Networking"},
    {"FB2G_computers", "Computers & Internet"},
    // Reference (5)
    {"FB2G_ref_encyc", "Encyclopedias"},
    {"FB2G_ref_dict", "Dictionaries"},
    {"FB2G_ref_ref", "Reference"},
    {"FB2G_ref_guide", "Guidebooks"},
    {"FB2G_reference", "Other Reference"},
    // Non-fiction (5)
    {"FB2G_nonf_biography", "Biography & Memoirs"},
    {"FB2G_nonf_publicism", "Publicism"},
    {"FB2G_nonf_criticism", "Criticism"},
    {"FB2G_design", "Art & design"},
    {"FB2G_nonfiction", "Nonfiction"},
    // Religion (4)
    {"FB2G_religion_rel", "Religion"},
    {"FB2G_religion_esoterics", "Esoterics"},
    {"FB2G_religion_self", "Self-improvement"},
    {"FB2G_religion", "Other Religion"},
    // Humour (4)
    {"FB2G_humor_anecdote", "Anecdote (funny stories)"},
    {"FB2G_humor_prose", "Humor Prose"},
    {"FB2G_humor_verse", "Humor Verses"},
    {"FB2G_humor", "Other Humor"},
    // Home and family (10)
    {"FB2G_home_cooking", "Cooking"},
    {"FB2G_home_pets", "Pets"},
    {"FB2G_home_crafts", "Hobbies & Crafts"},
    {"FB2G_home_entertain", "Entertaining"},
    {"FB2G_home_health", "Health"},
    {"FB2G_home_garden", "Garden"},
    {"FB2G_home_diy", "Do it yourself"},
    {"FB2G_home_sport", "Sports"},
    {"FB2G_home_sex", "Erotica & sex"},
    {"FB2G_home", "Home & Family"},
};

// Rows per family run, in table order.
inline constexpr std::size_t FB2GenreRunSizes[] = {12, 12, 6, 5, 7, 8, 2, 6, 16, 7, 5, 5, 4, 4, 10};

namespace fb2_genre_checks {
constexpr std::size_t SumOfRuns() {
  std::size_t sum = 0;
  for (std::size_t n : FB2GenreRunSizes) sum += n;
  return sum;
}
constexpr bool EveryNameIsPrefixed() {
  for (const TResStringRec& r : FB2GenreRecords)
    if (std::string_view(r.Name).substr(0, sizeof FB2GenrePrefix - 1) != FB2GenrePrefix) return false;
  return true;
}
}  // namespace fb2_genre_checks
static_assert(std::size(FB2GenreRecords) == 109, "the format knows 109 genres");
static_assert(fb2_genre_checks::SumOfRuns() == std::size(FB2GenreRecords), "the runs cover the table");
static_assert(fb2_genre_checks::EveryNameIsPrefixed(), "constant names are \"FB2G_\" + code");

// The table as resource-string records, for registration.
inline constexpr std::array<PResStringRec, std::size(FB2GenreRecords)> FB2GenreResStrings = [] {
  std::array<PResStringRec, std::size(FB2GenreRecords)> records{};
  for (std::size_t i = 0; i < records.size(); ++i) records[i] = &FB2GenreRecords[i];
  return records;
}();

// The genre code of a row: its constant name without the prefix.
constexpr std::string_view GenreCode(const TResStringRec& record) {
  return std::string_view(record.Name).substr(sizeof FB2GenrePrefix - 1);
}

// The display name of a genre code, compared ignoring case, as translated now (through
// the resource-string hook); empty for an unknown code.
WideString GetGenreName(WideStringView code);
