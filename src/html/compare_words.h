// The comparison page's own words, in the new report's language.
#pragma once

#include <string_view>

#include "walk/page_events.h"

namespace rptconv {

struct CompareWords {
  std::string_view lang;
  std::string_view heading;
  std::string_view old_report;
  std::string_view new_report;
  std::string_view added;
  std::string_view removed;
  std::string_view changed;
  std::string_view change_column;
  std::string_view no_change;
  std::string_view nothing_changed;  // of the whole comparison
  std::string_view section_count;    // after the number of sections
  std::string_view only_old;
  std::string_view only_new;
  std::string_view sections;
  std::string_view item;
  std::string_view property_columns;  // comma-separated: group, item, label, value
  // "3 added" (English) or "új: 3" (Hungarian).
  bool number_first;
};

inline constexpr CompareWords kEnglishWords{
    "en", "What changed", "Old report", "New report", "added", "removed", "changed", "Change", "no change",
    "Nothing changed", "sections",
    "Only in the old report.", "Only in the new report.", "Changes by section", "Item", "Group,Item,Label,Value", true};

inline constexpr CompareWords kHungarianWords{
    "hu", "Mi változott", "Régi jelentés", "Új jelentés", "új", "eltávolítva", "módosítva", "Változás",
    "nincs változás", "Semmi sem változott", "szakasz", "Csak a régi jelentésben.", "Csak az új jelentésben.", "Változások szakaszonként", "Elem",
    "Csoport,Elem,Tulajdonság,Érték", false};

inline const CompareWords& WordsFor(Language language) {
  return language == Language::kHungarian ? kHungarianWords : kEnglishWords;
}

}  // namespace rptconv
