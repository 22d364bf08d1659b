#!/usr/bin/python3
"""Writes masterscollation.inc: the collation elements of the 256 characters
a report can hold (Windows-1252), as ICU's German collator gives them.

The masters list is sorted the way QCollator sorts for German, case-insensitive,
punctuation not ignored, numeric mode off: ICU's collation at secondary
strength. Opening an ICU collator costs about 2 MB and a few milliseconds, so
the program sorts texts made of Windows-1252 characters with this table and
keeps QCollator for any other text.

How the table is made: for each character, ICU's CollationElementIterator
gives its collation elements. The iterator hands out 32-bit elements; an
element whose primary or secondary does not fit is followed by a continuation
(the low six bits all set), and the two halves are put together again into
ICU's 32-bit primary and 16-bit secondary. Tertiary weights (case and width)
are dropped: secondary strength never looks at them. The primaries used are
then numbered densely in their order (2, 3, ...), and so are the
secondaries; 0 stays "ignorable at this level". Numbering keeps every
comparison within the table as it was, and lets one byte hold a weight.

Contractions: a pair of characters whose elements are not the sum of the
two (ICU takes "l·" and "L·" together, for Catalan) gets its own
entry; a text is cut into characters and such pairs from the left, as ICU
does.

The script also checks what the program relies on and stops if it is not so:
- every two-character text is the sum of its characters or a contraction
  found above, and every one of the 16.7 million three-character texts is
  the sum of its pieces cut that way (no longer contraction, no other
  context); this takes some twenty seconds;
- comparing primaries first, then secondaries (forwards, no French order),
  gives ICU's own answer at secondary strength for every pair of one- and
  two-character texts (checked on neighbours in ICU's order: both orders are
  total, so agreeing there is agreeing everywhere);
- the numbered weights fit in a byte.

Regenerate (Debian's python3-icu, with the ICU that Qt is built against):
    apt-get install python3-icu
    /usr/bin/python3 entry/masterscollation.py > entry/masterscollation.inc
then build and run tst_entryrules, which compares the result with QCollator.
"""

import sys

import icu

# Windows-1252 for every byte; the five free bytes read as the control
# characters of the same value, as the report file reader does.
HIGH = [
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
]
CHARS = [chr(HIGH[b - 0x80]) if 0x80 <= b < 0xA0 else chr(b) for b in range(256)]
BYTE = {c: b for b, c in enumerate(CHARS)}

collator = icu.Collator.createInstance(icu.Locale("de_DE"))
collator.setStrength(icu.Collator.SECONDARY)
collator.setAttribute(icu.UCollAttribute.CASE_LEVEL, icu.UCollAttributeValue.OFF)
collator.setAttribute(icu.UCollAttribute.NUMERIC_COLLATION, icu.UCollAttributeValue.OFF)
collator.setAttribute(icu.UCollAttribute.ALTERNATE_HANDLING,
                      icu.UCollAttributeValue.NON_IGNORABLE)
collator.setAttribute(icu.UCollAttribute.FRENCH_COLLATION, icu.UCollAttributeValue.OFF)


def elements(text):
    """(primary, secondary) of each collation element, tertiary dropped."""
    it = collator.createCollationElementIterator(text)
    out = []
    while True:
        ce = it.next()
        if ce == icu.CollationElementIterator.NULLORDER:
            return out
        ce &= 0xFFFFFFFF
        if (ce & 0xC0) == 0xC0:
            if not out:
                sys.exit("continuation without an element before it in %r" % text)
            p, s = out[-1]
            out[-1] = (p | (ce >> 16), s | ((ce >> 8) & 0xFF))
        else:
            out.append(((ce >> 16) << 16, ((ce >> 8) & 0xFF) << 8))


def fail(msg):
    sys.exit("masterscollation.py: " + msg)


# Elements ignorable at both levels say nothing at secondary strength.
table = [[(p, s) for p, s in elements(c) if p or s] for c in CHARS]

# Two characters that ICU takes together have elements of their own.
contractions = {}
for a in range(256):
    for b in range(256):
        joined = [(p, s) for p, s in elements(CHARS[a] + CHARS[b]) if p or s]
        if joined != table[a] + table[b]:
            contractions[(a, b)] = joined

everything = table + list(contractions.values())
primaries = sorted({p for ces in everything for p, _ in ces if p})
secondaries = sorted({s for ces in everything for _, s in ces if s})
if len(primaries) + 2 > 255 or len(secondaries) + 2 > 255:
    fail("the weights do not fit in a byte")
prank = {p: i + 2 for i, p in enumerate(primaries)}
srank = {s: i + 2 for i, s in enumerate(secondaries)}


def numbered(ces):
    return [(prank.get(p, 0), srank.get(s, 0)) for p, s in ces]


ranked = [numbered(ces) for ces in table]
cranked = {ab: numbered(ces) for ab, ces in contractions.items()}


def raw_elements(it, text):
    it.setText(text)
    out = []
    while True:
        ce = it.next()
        if ce == icu.CollationElementIterator.NULLORDER:
            return tuple(out)
        out.append(ce)


def segments(text_bytes):
    """A text's characters and contractions, taken from the left as ICU does."""
    i = 0
    while i < len(text_bytes):
        pair = tuple(text_bytes[i:i + 2])
        if pair in contractions:
            yield pair
            i += 2
        else:
            yield (text_bytes[i],)
            i += 1


def key(text_bytes):
    prim, sec = [], []
    for seg in segments(text_bytes):
        for p, s in (cranked[seg] if len(seg) == 2 else ranked[seg[0]]):
            if p:
                prim.append(p)
            if s:
                sec.append(s)
    return prim + [1] + sec


def sign(x):
    return (x > 0) - (x < 0)


# Every three-character text: its elements are those of its segments. This
# catches a contraction of three characters and one that ends where another
# begins (about 17 million texts, some twenty seconds).
it = collator.createCollationElementIterator("")
single = [raw_elements(it, c) for c in CHARS]
double = {ab: raw_elements(it, CHARS[ab[0]] + CHARS[ab[1]]) for ab in contractions}
for a in range(256):
    for b in range(256):
        for c in range(256):
            if (a, b) in contractions:
                expected = double[(a, b)] + single[c]
            elif (b, c) in contractions:
                expected = single[a] + double[(b, c)]
            else:
                expected = single[a] + single[b] + single[c]
            if raw_elements(it, CHARS[a] + CHARS[b] + CHARS[c]) != expected:
                fail("U+%04X U+%04X U+%04X is not the sum of its parts"
                     % (ord(CHARS[a]), ord(CHARS[b]), ord(CHARS[c])))

# One- and two-character texts in ICU's order: if ours agrees on every
# neighbour (less where ICU says less, equal where it says equal), it agrees on
# every pair of them, since both orders are total.
texts = CHARS + [CHARS[a] + CHARS[b] for a in range(256) for b in range(256)]
ours = [key([BYTE[c] for c in t]) for t in texts]
icu_order = sorted(range(len(texts)), key=lambda i: collator.getSortKey(texts[i]))
for x, y in zip(icu_order, icu_order[1:]):
    theirs = sign(collator.compare(texts[x], texts[y]))
    mine = (ours[x] > ours[y]) - (ours[x] < ours[y])
    if mine != theirs:
        fail("%r and %r: ours %d, ICU %d" % (texts[x], texts[y], mine, theirs))

width = max(len(ces) for ces in ranked + list(cranked.values()))
pairs = sorted(cranked)
first_pair = {}
for i, (a, _) in enumerate(pairs):
    first_pair.setdefault(a, i + 1)


def entry(ces):
    pad = [0] * (width - len(ces))
    prim = ", ".join(str(x) for x in [p for p, _ in ces] + pad)
    sec = ", ".join(str(x) for x in [s for _, s in ces] + pad)
    return "%d, {%s}, {%s}" % (len(ces), prim, sec)


out = sys.stdout
out.write("""// Generated by entry/masterscollation.py from ICU %s (Unicode %s), German
// at secondary strength; do not edit, regenerate as the script says.
// Per Windows-1252 byte: its collation elements, primary and secondary weight
// numbered from 2 in ICU's order, 0 where that level ignores the element;
// `pair` is 1 + the index of the first two-byte contraction the byte begins.
// %d primaries, %d secondaries, %d contractions.

constexpr int kMostElements = %d;

struct CollationElements
{
    unsigned char count;
    unsigned char primary[kMostElements];
    unsigned char secondary[kMostElements];
};

struct ByteCollation
{
    CollationElements elements;
    unsigned char pair;
};

struct PairCollation
{
    unsigned char first;
    unsigned char second;
    CollationElements elements;
};

""" % (icu.ICU_VERSION, icu.UNICODE_VERSION, len(primaries), len(secondaries), len(pairs), width))
out.write("constexpr ByteCollation kByteCollation[256] = {\n")
for b, ces in enumerate(ranked):
    out.write("        {{%s}, %d}, // 0x%02X U+%04X\n"
              % (entry(ces), first_pair.get(b, 0), b, ord(CHARS[b])))
out.write("};\n\n")
out.write("constexpr PairCollation kPairCollation[%d] = {\n" % max(len(pairs), 1))
for a, b in pairs:
    out.write("        {0x%02X, 0x%02X, {%s}}, // U+%04X U+%04X\n"
              % (a, b, entry(cranked[(a, b)]), ord(CHARS[a]), ord(CHARS[b])))
if not pairs:
    out.write("        {0, 0, {0, {}, {}}},\n")
out.write("};\n")
