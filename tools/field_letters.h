// Field types as people write them, Paradox type letters with a size, to and from the
// engine's logical field descriptors.
#pragma once
#include "idapi.h"

// A descriptor for a new field: A and Y take a size in bytes, # its decimals, the other
// letters (S I + D N $ L T @) none. Blob letters and unknown letters end the program with
// exit code 2: the engine cannot add blob fields.
FLDDesc DescriptorFor(const char* name, char letter, int size);
// A memo column for a new table, with a leader of the given size.
FLDDesc MemoDescriptor(const char* name, int leader);

// The letter of a field the engine describes ('?' for none): A D S I + N $ L T @ # Y and the
// blob letters M B F O G.
char TypeLetter(const FLDDesc& d);
// The size shown with the letter: characters or bytes for A and Y, the leader for blobs, the
// decimals for #, and the stored bytes of every other type.
int ShownSize(const FLDDesc& d);
