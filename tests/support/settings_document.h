// Settings documents for tests, built from the shipped one so that every node a
// test does not name keeps its shipped value.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>

namespace testsupport {

// The shipped document with each `from` text replaced by its `to` (the first
// occurrence): a hand edit. A `from` that is not there throws.
std::string shippedDocumentWith(std::initializer_list<std::pair<std::string, std::string>> edits);

}  // namespace testsupport
