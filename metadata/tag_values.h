// What the readers found: the text of each tag asked for, as the file holds it (decoded to UTF-16,
// not yet made fit for a name).
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "metadata/tags.h"

namespace korval {

class TagValues {
 public:
  explicit TagValues(TagSet wanted = TagSet::All()) : wanted_(wanted) {}

  // Whether a reader should look for the tag: asked for and not found yet.
  bool Wants(Tag tag) const { return wanted_.Has(tag) && !found_.Has(tag); }
  // Whether the reader of a container needs to walk it at all.
  bool WantsAny(TagSet tags) const { return wanted_.Without(found_).Intersects(tags); }
  TagSet Wanted() const { return wanted_; }
  TagSet Found() const { return found_; }

  // Stores a value of an asked tag. A reader that meets several values of one tag puts each of
  // them: they are joined by ", " (a value already there is not repeated). Empty values and values
  // of tags not asked for are ignored.
  void Put(Tag tag, std::wstring value);
  // The found value, or null (valid until the next Put).
  const std::wstring* Find(Tag tag) const;

  // Takes the tags the other found that this one has not: a container's tags of lower rank (an
  // ID3v1 tag behind an ID3v2 one) fill only what the better ones left open.
  void MergeMissing(const TagValues& other);

  // A duration in seconds as Duration ("3-25", "1-02-03": minutes and seconds, with hours in front
  // from one hour on; see PutDuration's users in the help).
  void PutDuration(double seconds);
  // Whole numbers (pixels, ISO speeds).
  void PutNumber(Tag tag, uint64_t value) { Put(tag, std::to_wstring(value)); }

 private:
  std::wstring* Slot(Tag tag);

  TagSet wanted_;
  TagSet found_;
  // Only the tags found: the window keeps one of these for every file a template read.
  std::vector<std::pair<Tag, std::wstring>> values_;
};

}  // namespace korval
