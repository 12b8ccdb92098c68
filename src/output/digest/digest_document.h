#pragma once
// The digest as a document, laid out before anything is drawn.

#include "output/digest/digest.h"
#include "output/digest/digest_layout.h"

namespace meridan::digest {

// Lays the digest out on the composer's pages: the best days, each month
// with its heading, graph and texts, and how to read it after the last
// month. Throws std::invalid_argument for a month without scan, series or
// graph.
void ComposeDigest(const Digest& digest, Composer& composer);

}  // namespace meridan::digest
