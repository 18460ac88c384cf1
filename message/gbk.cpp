#include "gbk.h"

#include <QtGlobal>

#include <bit>
#include <cerrno>
#include <cstring>
#include <iconv.h>

// What glibc's "GBK" table holds (glibc 2.36; "CP936" is the same table):
//  - bytes 00..7F are ASCII, 00 included;
//  - two-byte characters have a lead byte 81..FE and a second byte 40..7E or
//    80..FE; 21791 such pairs are mapped, all to BMP characters, and every one
//    converts back to the same pair;
//  - the lone byte 80 decodes as the euro sign U+20AC, the CP936 extension.
//    No pair decodes to U+20AC, and encoding U+20AC gives that lone 80.
//  - encoding silently drops the Unicode tag characters U+E0000..U+E007F
//    instead of failing on them.
// Our texts treat every byte from 80 up as the start of a two-byte character,
// so a lone 80 is not a character here: it is drawn as U+FFFD, and U+20AC
// typed by the user becomes "?" so that typing never produces it. Characters
// outside the BMP are never handed to iconv, which keeps the tag characters
// from vanishing: GBK holds none of them, so each becomes "?".
//
// A zero byte is not part of any text, but if one reaches us it is kept as
// U+0000 (and U+0000 as a zero byte): dropping or cutting there would hide the
// rest of what was sent.

namespace gbk {
namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr unsigned char kLoneEuroByte = 0x80;
constexpr char16_t kEuroSign = 0x20AC;

// QString's storage is UTF-16 in host byte order; iconv must write exactly that.
constexpr const char* kUtf16 = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

// One cached iconv descriptor. When glibc lacks the GBK module it degrades to an
// ASCII-only converter, so texts stay readable rather than vanishing.
class Converter {
public:
    enum class Direction { FromGbk, ToGbk };

    explicit Converter(Direction direction)
        : direction_(direction),
          cd_(direction == Direction::FromGbk ? iconv_open(kUtf16, "GBK") : iconv_open("GBK", kUtf16))
    {
        if (!usable())
            qWarning("gbk: iconv has no GBK converter (%s); only ASCII will show", std::strerror(errno));
    }
    ~Converter()
    {
        if (usable())
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    void reset()
    {
        if (usable())
            iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }

    // Converts as much of [in, inEnd) as fits into [out, outEnd), moving both
    // pointers past what was done. Returns 0 when all input was taken, else the
    // errno iconv stopped with: EILSEQ (in points at the bad sequence), EINVAL
    // (in points at an incomplete sequence at inEnd) or E2BIG.
    int convert(const char*& in, const char* inEnd, char*& out, char* outEnd)
    {
        if (!usable())
            return asciiOnly(in, inEnd, out, outEnd);
        char* inPos = const_cast<char*>(in);  // iconv never writes through it
        size_t inLeft = size_t(inEnd - in);
        size_t outLeft = size_t(outEnd - out);
        const size_t result = iconv(cd_, &inPos, &inLeft, &out, &outLeft);
        const int error = result == size_t(-1) ? errno : 0;
        in = inPos;
        return error;
    }

private:
    bool usable() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Copies ASCII through; anything else is reported as EILSEQ.
    int asciiOnly(const char*& in, const char* inEnd, char*& out, char* outEnd)
    {
        if (direction_ == Direction::FromGbk) {
            for (; in < inEnd; ++in, out += sizeof(char16_t)) {
                if (static_cast<unsigned char>(*in) >= 0x80)
                    return EILSEQ;
                if (outEnd - out < qsizetype(sizeof(char16_t)))
                    return E2BIG;
                const char16_t unit = static_cast<unsigned char>(*in);
                std::memcpy(out, &unit, sizeof unit);
            }
        } else {
            for (; in < inEnd; in += sizeof(char16_t), ++out) {
                char16_t unit;
                std::memcpy(&unit, in, sizeof unit);
                if (unit >= 0x80)
                    return EILSEQ;
                if (out == outEnd)
                    return E2BIG;
                *out = static_cast<char>(unit);
            }
        }
        return 0;
    }

    Direction direction_;
    iconv_t cd_;
};

// Opened once per thread: descriptors must not be shared between threads.
Converter& decoder()
{
    thread_local Converter converter(Converter::Direction::FromGbk);
    return converter;
}

Converter& encoder()
{
    thread_local Converter converter(Converter::Direction::ToGbk);
    return converter;
}

bool isSurrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDFFF;
}

}  // namespace

QString toQString(std::string_view gbkBytes)
{
    const char* p = gbkBytes.data();
    const char* const end = p + gbkBytes.size();

    // Every byte yields at most one UTF-16 unit: ASCII one, a pair one, a bad
    // byte one U+FFFD. So the first allocation is enough.
    QString out(qsizetype(gbkBytes.size()), Qt::Uninitialized);
    qsizetype used = 0;
    auto put = [&](char16_t unit) { out[used++] = QChar(unit); };

    Converter& cd = decoder();
    cd.reset();

    // Runs handed to iconv stop before each 80 byte, so that iconv never sees
    // one where a character starts and never decodes it as the euro sign. Most
    // texts have none, so this is one iconv call for the whole text.
    auto nextLoneEuroCandidate = [end](const char* from) {
        if (from == end)
            return end;  // also keeps a null data() away from memchr
        const void* hit = std::memchr(from, kLoneEuroByte, size_t(end - from));
        return hit ? static_cast<const char*>(hit) : end;
    };
    auto convertUpTo = [&](const char* stop) {
        char* const base = reinterpret_cast<char*>(out.data());
        char* o = base + used * qsizetype(sizeof(char16_t));
        const int error = cd.convert(p, stop, o, base + out.size() * qsizetype(sizeof(char16_t)));
        used = (o - base) / qsizetype(sizeof(char16_t));
        return error;
    };

    const char* cut = nextLoneEuroCandidate(p);
    while (p < end) {
        if (p == cut) {  // an 80 byte where a character starts
            put(kReplacement);
            ++p;
            cut = nextLoneEuroCandidate(p);
            continue;
        }
        switch (convertUpTo(cut)) {
        case 0:
            break;  // p == cut
        case E2BIG:
            // Not reachable given the bound above; grow rather than drop text.
            out.resize(out.size() + qsizetype(end - p) + 1);
            break;
        case EINVAL:
            if (cut == end) {  // a lead byte with nothing after it
                put(kReplacement);
                p = end;
            } else if (convertUpTo(cut + 1) == 0) {  // the 80 was a second byte
                cut = nextLoneEuroCandidate(p);
            } else {  // not a pair: the 80 now starts a character itself
                put(kReplacement);
                ++p;
            }
            break;
        default:  // EILSEQ
            // Skip only the byte that could not start a character: the next one
            // may be ASCII or start a good character.
            put(kReplacement);
            ++p;
            break;
        }
    }
    out.truncate(used);
    return out;
}

std::string fromQString(const QString& typed)
{
    const char16_t* p = reinterpret_cast<const char16_t*>(typed.utf16());
    const char16_t* const end = p + typed.size();

    // A UTF-16 unit yields at most two bytes: a BMP character two, a "?" one.
    std::string out(size_t(typed.size()) * 2, '\0');
    size_t used = 0;

    Converter& cd = encoder();
    cd.reset();

    while (p < end) {
        // iconv gets runs without surrogates and without the euro sign; those
        // are settled here, one "?" per code point.
        const char16_t* cut = p;
        while (cut < end && !isSurrogate(*cut) && *cut != kEuroSign)
            ++cut;

        const char* in = reinterpret_cast<const char*>(p);
        const char* const inStop = reinterpret_cast<const char*>(cut);
        while (in < inStop) {
            char* o = out.data() + used;
            const int error = cd.convert(in, inStop, o, out.data() + out.size());
            used = size_t(o - out.data());
            if (error == E2BIG) {  // not reachable given the bound above
                out.resize(out.size() + size_t(inStop - in) + 1);
            } else if (error != 0) {  // a BMP character GBK does not hold
                out[used++] = '?';
                in += sizeof(char16_t);
            }
        }

        p = cut;
        if (p < end) {
            out[used++] = '?';
            const bool pair = QChar::isHighSurrogate(p[0]) && p + 1 < end && QChar::isLowSurrogate(p[1]);
            p += pair ? 2 : 1;
        }
    }
    out.resize(used);
    return out;
}

}  // namespace gbk
