#pragma once
// A walk over a JPEG stream's markers that checks, before a decoder that trusts
// them sees the stream, that every scan uses only tables defined before it.
#include <cstddef>
#include <cstdint>

namespace WUI {

// False for a JPEG stream (it starts with SOI) with a scan whose Huffman or
// quantisation table was never defined before it, a scan before the frame
// header or naming a component the frame lacks, a frame type other than
// baseline, extended or progressive, or a segment that runs past the end.
// True for anything else, streams that are not JPEG included; a stream that
// ends inside scan data is judged on what came before.
bool JpegScansUseDefinedTables(const uint8_t* data, size_t size);

// False for a JPEG stream whose scans hold fewer bits than its frame has
// MCUs: every MCU takes one bit at least, and a decoder that reads past the
// end of the data as zeros would make a whole image of a header. True for
// anything else, streams without a frame or not JPEG included.
bool JpegDataCanFillImage(const uint8_t* data, size_t size);

}  // namespace WUI
