// Pieces of the binary element records shared by every class.
//
// Common head: int32 kind, double values[0], int32 flags word, int32 id. The
// kind is written by write and read by the stream reader, so read starts at the
// value. Symbol part: int32 orientation, int32 mirrored, int32 link count and
// the link ids, char[8] name, char[8] netname, int32 x, y of the reference
// point. Lists: int32 count, then the entries from the head.
// Readers return false (reason in last_record_error()) when the stream ends
// early, a count is negative or above max_record_count, an orientation is not
// 0 to 3, or a symbol's reference point or a line's end lies beyond
// max_record_position; the record is then abandoned and the stream must not be
// read further.
#pragma once

#include <cstdio>

#include "sdi/elements/element.h"

namespace sdi {

class i_element;
class dlist;

constexpr int max_record_count = 10000;
// A symbol's reference point or a line's end beyond this many units from the
// origin comes only from damaged data; refusing it keeps the arithmetic of
// images and hit tests clear of overflow.
constexpr std::int32_t max_record_position = 100000000;

void write_common(element* e, std::FILE* f);
bool read_common(element* e, std::FILE* f);
void write_i_part(i_element* e, std::FILE* f);
bool read_i_part(i_element* e, std::FILE* f);
void write_ilist(std::FILE* f, ilist& l);
bool read_ilist(std::FILE* f, ilist& l, int grow);
void write_name_field(std::FILE* f, const char* field, int width);
bool read_name_field(std::FILE* f, char* field, int width);  // terminator forced in the last byte

// Checked readers: false and the record error set on a short stream or a bad count.
bool record_int(std::FILE* f, std::int32_t& v);
bool record_double(std::FILE* f, double& v);
bool record_count(std::FILE* f, std::int32_t& n);

}  // namespace sdi
