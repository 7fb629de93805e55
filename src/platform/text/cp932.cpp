#include "platform/text/cp932.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "platform/runtime/run_time_error.h"
#include "platform/text/utf8.h"

namespace qz::text {
namespace {

// iconv descriptors are not thread-safe; one pair per thread.
struct Converters {
  iconv_t to = iconv_open("CP932", "UTF-8");
  iconv_t from = iconv_open("UTF-8", "CP932");
  ~Converters() {
    if (to != reinterpret_cast<iconv_t>(-1)) iconv_close(to);
    if (from != reinterpret_cast<iconv_t>(-1)) iconv_close(from);
  }
};

Converters& Conv() {
  thread_local Converters c;
  return c;
}

// Length of the UTF-8 sequence that starts with `b` (1 for an invalid byte).
std::size_t Utf8SeqLen(unsigned char b) {
  if (b < 0x80) return 1;
  if ((b & 0xE0) == 0xC0) return 2;
  if ((b & 0xF0) == 0xE0) return 3;
  if ((b & 0xF8) == 0xF0) return 4;
  return 1;
}

// Whether every byte of `in` is ASCII, which both encodings write alike.
bool IsAscii(std::string_view in) {
  return std::all_of(in.begin(), in.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Converts with `cd`; on an input sequence the target cannot take, emits
// `bad` and skips `skip(in)` bytes.
template <typename Skip>
std::string Convert(iconv_t cd, std::string_view in, std::string_view bad, Skip skip) {
  if (IsAscii(in)) return std::string(in);
  std::string out;
  out.reserve(in.size() * 2 + 4);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char* src = const_cast<char*>(in.data());
  std::size_t left = in.size();
  char buf[256];
  while (left > 0) {
    char* dst = buf;
    std::size_t room = sizeof buf;
    std::size_t r = iconv(cd, &src, &left, &dst, &room);
    out.append(buf, static_cast<std::size_t>(dst - buf));
    if (r == static_cast<std::size_t>(-1)) {
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL: an unconvertible or truncated sequence.
      out.append(bad);
      std::size_t n = skip(std::string_view(src, left));
      if (n > left) n = left;
      src += n;
      left -= n;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  return out;
}

// One character of a UTF-8 text: where it starts and how many CP932 bytes it
// takes (a character CP932 cannot hold takes the one byte of its "?").
struct CharSpan {
  std::size_t offset;
  std::size_t width;
};

std::vector<CharSpan> CharSpans(std::string_view utf8) {
  std::vector<CharSpan> out;
  out.reserve(utf8.size());
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    std::size_t start = pos;
    char32_t cp = NextCodePoint(utf8, pos);
    std::size_t w = 1;
    if (cp >= 0x80 && !(cp >= 0xFF61 && cp <= 0xFF9F)) {
      w = ToCp932(utf8.substr(start, pos - start)).size();
    }
    out.push_back({start, w});
  }
  return out;
}

// The characters of `utf8` whose bytes lie wholly within the CP932 byte
// range [from, to).
std::string SliceByBytes(std::string_view utf8, const std::vector<CharSpan>& spans,
                         std::size_t from, std::size_t to) {
  std::size_t at = 0;
  std::size_t first = utf8.size(), last = utf8.size();
  bool started = false;
  for (std::size_t i = 0; i < spans.size(); ++i) {
    std::size_t end = at + spans[i].width;
    if (!started && at >= from && end <= to) {
      first = spans[i].offset;
      started = true;
    }
    if (started && end > to) {
      last = spans[i].offset;
      break;
    }
    at = end;
  }
  if (!started) return {};
  return std::string(utf8.substr(first, last - first));
}

std::size_t Clamp(std::size_t a, std::size_t b) { return a < b ? a : b; }

std::string Blanks(std::size_t n) { return std::string(n, ' '); }

}  // namespace

bool IsCp932LeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

std::string ToCp932(std::string_view utf8) {
  return Convert(Conv().to, utf8, "?", [](std::string_view rest) {
    std::size_t n = Utf8SeqLen(static_cast<unsigned char>(rest[0]));
    // Do not swallow bytes that are not continuation bytes.
    std::size_t i = 1;
    while (i < n && i < rest.size() &&
           (static_cast<unsigned char>(rest[i]) & 0xC0) == 0x80) ++i;
    return i;
  });
}

std::string FromCp932(std::string_view bytes) {
  return Convert(Conv().from, bytes, "\xEF\xBF\xBD", [](std::string_view rest) {
    unsigned char b = static_cast<unsigned char>(rest[0]);
    if (IsCp932LeadByte(b) && rest.size() >= 2) {
      unsigned char t = static_cast<unsigned char>(rest[1]);
      // A valid trail byte belongs to the bad character; anything else
      // starts the next one.
      if ((t >= 0x40 && t <= 0x7E) || (t >= 0x80 && t <= 0xFC)) return std::size_t{2};
    }
    return std::size_t{1};
  });
}

std::size_t Cp932Length(std::string_view utf8) { return ToCp932(utf8).size(); }

bool Cp932Holds(std::string_view utf8) {
  // "?" is never a trail byte of CP932: each one in the bytes is either a
  // "?" of the text or a character the code page could not hold.
  const std::string bytes = ToCp932(utf8);
  return std::count(bytes.begin(), bytes.end(), '?') == std::count(utf8.begin(), utf8.end(), '?');
}

std::string_view CutCp932Bytes(std::string_view bytes, std::size_t n) {
  if (bytes.size() <= n) return bytes;
  std::size_t i = 0;
  while (i < bytes.size()) {
    std::size_t w = IsCp932LeadByte(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
    if (i + w > n) break;
    i += w;
  }
  return bytes.substr(0, i);
}

std::string_view LeftBytes(std::string_view bytes, std::size_t n) {
  return bytes.substr(0, Clamp(n, bytes.size()));
}

std::string_view RightBytes(std::string_view bytes, std::size_t n) {
  n = Clamp(n, bytes.size());
  return bytes.substr(bytes.size() - n);
}

std::string_view MidBytes(std::string_view bytes, std::size_t start, std::size_t n) {
  if (start < 1) throw RunTimeError(kErrInvalidCall);
  if (start > bytes.size()) return {};
  return bytes.substr(start - 1, n);
}

std::string LeftB(std::string_view utf8, std::size_t n) {
  return SliceByBytes(utf8, CharSpans(utf8), 0, n);
}

std::string RightB(std::string_view utf8, std::size_t n) {
  std::vector<CharSpan> spans = CharSpans(utf8);
  std::size_t total = 0;
  for (const CharSpan& p : spans) total += p.width;
  return SliceByBytes(utf8, spans, n >= total ? 0 : total - n, total);
}

std::string MidB(std::string_view utf8, std::size_t start, std::size_t n) {
  if (start < 1) throw RunTimeError(kErrInvalidCall);
  std::size_t from = start - 1;
  std::size_t to = n > static_cast<std::size_t>(-1) - from ? static_cast<std::size_t>(-1) : from + n;
  return SliceByBytes(utf8, CharSpans(utf8), from, to);
}

std::string PadLeftB(std::string_view utf8, std::size_t n) {
  std::size_t len = Cp932Length(utf8);
  return len >= n ? std::string(utf8) : Blanks(n - len) + std::string(utf8);
}

std::string PadRightB(std::string_view utf8, std::size_t n) {
  std::size_t len = Cp932Length(utf8);
  return len >= n ? std::string(utf8) : std::string(utf8) + Blanks(n - len);
}

std::string FitB(std::string_view utf8, std::size_t n) { return PadRightB(LeftB(utf8, n), n); }

}  // namespace qz::text
