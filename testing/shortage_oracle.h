// What a composition that ran short of memory may leave of its memo: the
// oracle of the tests and fuzz targets that make the heap fail.
#pragma once

#include <string>
#include <vector>

namespace testing_support {

// Whether `memo` is what a composition that ran short of memory may leave of
// `whole`, the memo it makes with enough, both beginning with `heading`: the
// error text (`errorText`), or the heading and some of the whole memo's lines
// in their order, each after its CR LF. So a memo that lost its entries
// never says "none". The lines kept, without their line breaks, go to
// `*kept` when it is not null.
bool IsWhatAShortageLeaves(const std::string& memo, const std::string& whole,
                           const std::string& heading, const std::string& errorText,
                           std::vector<std::string>* kept = nullptr);

}  // namespace testing_support
