#pragma once
// The month graph of the digest, drawn as lines and text.

#include <cairo.h>

#include "output/digest/digest.h"
#include "output/digest/digest_layout.h"

namespace meridan::digest {

// The month graph as lines and text, in the page picture's pixels, with the
// colours of its template (System/month.bmp): a light frame, the favourable
// half blue and the unfavourable half pink, a dotted line every 20 pixels
// from the zero line, a column per day, the signs at the left and a band
// below with the day numbers, the month and the legend. The composer lays
// out its labels.
void DrawGraph(cairo_t* cr, const Composer& composer, const DigestGraph& g);

}  // namespace meridan::digest
