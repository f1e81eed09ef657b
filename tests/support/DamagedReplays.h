#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "support/TempDir.h"

namespace testsupport {

// A race replay with a practice table, an unnamed chunk and a race table, whose stream
// holds player, controls, other-car, condition and frame counter items, so every reader
// path has something to read. Written as dir/valid.rpy; returns its bytes.
std::vector<unsigned char> validDamageBase(const TempDir& dir);

// Damaged variants of that replay, each written to the same file in dir and handed to
// `visit` with a description of the damage. `stride` visits every stride-th variant only.
// The kinds: truncation at every length (through the tables, then a stride through the
// stream), random byte flips (seeded), and wild values in the size and count fields.
void forEachTruncation(const TempDir& dir, std::size_t stride,
                       const std::function<void(const std::string& path, const std::string& what)>& visit);
void forEachByteFlip(const TempDir& dir, int variants,
                     const std::function<void(const std::string& path, const std::string& what)>& visit);
void forEachWildField(const TempDir& dir,
                      const std::function<void(const std::string& path, const std::string& what)>& visit);

}  // namespace testsupport
