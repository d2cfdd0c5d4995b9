#include "framework/GifImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "framework/Exception.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// ---------------------------------------------------------------------------------------------
// A small GIF writer, enough to build every input the tests need.

// Packs codes least significant bit first, the order of a GIF code stream.
class CodePacker {
 public:
  void Put(int code, int bits) {
    pending_ |= static_cast<std::uint32_t>(code) << count_;
    count_ += bits;
    while (count_ >= 8) {
      bytes_.push_back(static_cast<std::uint8_t>(pending_ & 0xFF));
      pending_ >>= 8;
      count_ -= 8;
    }
  }
  Bytes Finish() {
    if (count_ > 0) bytes_.push_back(static_cast<std::uint8_t>(pending_ & 0xFF));
    pending_ = 0;
    count_ = 0;
    return bytes_;
  }

 private:
  Bytes bytes_;
  std::uint32_t pending_ = 0;
  int count_ = 0;
};

// What the encoder does once the code table holds 4096 entries.
enum class FullTable { kClear, kDefer };

struct LzwOptions {
  int codeSize = -1;  // the minimum code size; -1: the smallest that holds the colour table, >= 2
  bool leadingClear = true;
  bool endCode = true;
  FullTable whenFull = FullTable::kClear;
  int deferredCodes = 0;  // with kDefer: codes sent with a full table before a clear; 0: never
};

// What an encoding went through, so that a test can show it exercised what it claims to.
struct LzwStats {
  int widestCode = 0;
  int fullTableCodes = 0;  // codes sent while the table was full
  int clears = 0;          // clear codes after the leading one
};

Bytes EncodeLzw(const Bytes& indices, int codeSize, const LzwOptions& options, LzwStats* stats) {
  const int clear = 1 << codeSize;
  const int end = clear + 1;
  int bits = codeSize + 1;
  int next = end + 1;
  std::unordered_map<int, int> table;  // (prefix code << 8 | index) -> code
  CodePacker packer;
  LzwStats local;
  LzwStats& s = stats != nullptr ? *stats : local;
  const auto emit = [&](int code) {
    packer.Put(code, bits);
    s.widestCode = std::max(s.widestCode, bits);
  };
  const auto restart = [&] {
    emit(clear);
    ++s.clears;
    table.clear();
    bits = codeSize + 1;
    next = end + 1;
  };

  if (options.leadingClear) emit(clear);
  int current = -1;
  int deferred = 0;
  for (const std::uint8_t index : indices) {
    if (current < 0) {
      current = index;
      continue;
    }
    const auto found = table.find(current << 8 | index);
    if (found != table.end()) {
      current = found->second;
      continue;
    }
    emit(current);
    if (next < 4096) {
      table.emplace(current << 8 | index, next);
      // The decoder learns this entry one code later; the code after it may already be it.
      if (next == (1 << bits) && bits < 12) ++bits;
      ++next;
      if (next == 4096 && options.whenFull == FullTable::kClear) restart();
    } else {
      ++s.fullTableCodes;
      if (options.deferredCodes > 0 && ++deferred == options.deferredCodes) {
        restart();
        deferred = 0;
      }
    }
    current = index;
  }
  if (current >= 0) emit(current);
  if (options.endCode) emit(end);
  return packer.Finish();
}

// Row order of an interlaced image: the rows of `indices` (width per row) as the stream sends them.
Bytes Interlace(const Bytes& indices, int width, int height) {
  Bytes out;
  constexpr std::pair<int, int> kPasses[] = {{0, 8}, {4, 8}, {2, 4}, {1, 2}};
  for (const auto& [start, step] : kPasses) {
    for (int y = start; y < height; y += step) {
      const auto row = indices.begin() + static_cast<std::ptrdiff_t>(y) * width;
      out.insert(out.end(), row, row + width);
    }
  }
  return out;
}

struct Image {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool interlaced = false;              // the indices are given in natural order either way
  std::vector<TColor> localTable = {};  // empty: none
  Bytes indices = {};                   // width x height, rows top-down
  LzwOptions lzw = {};
  std::optional<Bytes> data = {};  // an LZW stream to send instead of encoding the indices
  std::size_t subBlockSize = 255;
};

// The size field of a colour table with `count` entries (padded up to a power of two, >= 2).
int TableSizeBits(std::size_t count) {
  int bits = 0;
  while ((std::size_t{2} << bits) < count) ++bits;
  return bits;
}

class GifWriter {
 public:
  explicit GifWriter(int width, int height, std::vector<TColor> globalTable = {},
                     int backgroundIndex = 0, std::string signature = "GIF89a") {
    bytes_.assign(signature.begin(), signature.end());
    Word(width);
    Word(height);
    const std::uint8_t packed =
        globalTable.empty() ? 0x70
                            : static_cast<std::uint8_t>(0xF0 | TableSizeBits(globalTable.size()));
    bytes_.push_back(packed);
    bytes_.push_back(static_cast<std::uint8_t>(backgroundIndex));
    bytes_.push_back(0);
    if (!globalTable.empty()) Table(globalTable);
    global_ = std::move(globalTable);
  }

  // A Graphic Control Extension.
  GifWriter& Control(int transparentIndex, bool transparent = true) {
    return Extension(0xF9, {{static_cast<std::uint8_t>(transparent ? 0x01 : 0x00), 10, 0,
                             static_cast<std::uint8_t>(transparentIndex)}});
  }

  GifWriter& Extension(std::uint8_t label, const std::vector<Bytes>& blocks) {
    bytes_.push_back(0x21);
    bytes_.push_back(label);
    for (const Bytes& block : blocks) {
      bytes_.push_back(static_cast<std::uint8_t>(block.size()));
      bytes_.insert(bytes_.end(), block.begin(), block.end());
    }
    bytes_.push_back(0);
    return *this;
  }

  GifWriter& Add(const Image& image, LzwStats* stats = nullptr) {
    bytes_.push_back(0x2C);
    Word(image.left);
    Word(image.top);
    Word(image.width);
    Word(image.height);
    std::uint8_t packed = image.interlaced ? 0x40 : 0x00;
    if (!image.localTable.empty()) {
      packed = static_cast<std::uint8_t>(packed | 0x80 | TableSizeBits(image.localTable.size()));
    }
    bytes_.push_back(packed);
    if (!image.localTable.empty()) Table(image.localTable);

    const std::size_t colours = !image.localTable.empty()
                                    ? image.localTable.size()
                                    : std::max<std::size_t>(global_.size(), 2);
    const int codeSize =
        image.lzw.codeSize >= 0 ? image.lzw.codeSize : std::max(2, TableSizeBits(colours) + 1);
    bytes_.push_back(static_cast<std::uint8_t>(codeSize));
    const Bytes stream =
        image.interlaced ? Interlace(image.indices, image.width, image.height) : image.indices;
    const Bytes data = image.data ? *image.data : EncodeLzw(stream, codeSize, image.lzw, stats);
    for (std::size_t at = 0; at < data.size(); at += image.subBlockSize) {
      const std::size_t size = std::min(image.subBlockSize, data.size() - at);
      bytes_.push_back(static_cast<std::uint8_t>(size));
      bytes_.insert(bytes_.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
                    data.begin() + static_cast<std::ptrdiff_t>(at + size));
    }
    bytes_.push_back(0);
    return *this;
  }

  GifWriter& Raw(const Bytes& bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
  }

  // The file, closed by the trailer.
  Bytes Build() const {
    Bytes file = bytes_;
    file.push_back(0x3B);
    return file;
  }

 private:
  void Word(int value) {
    bytes_.push_back(static_cast<std::uint8_t>(value & 0xFF));
    bytes_.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
  }
  void Table(const std::vector<TColor>& colours) {
    const std::size_t count = std::size_t{2} << TableSizeBits(colours.size());
    for (std::size_t i = 0; i < count; ++i) {
      const TColor c = i < colours.size() ? colours[i] : clBlack;
      bytes_.push_back(static_cast<std::uint8_t>(c & 0xFF));
      bytes_.push_back(static_cast<std::uint8_t>((c >> 8) & 0xFF));
      bytes_.push_back(static_cast<std::uint8_t>((c >> 16) & 0xFF));
    }
  }

  Bytes bytes_;
  std::vector<TColor> global_;
};

// ---------------------------------------------------------------------------------------------
// Pictures and what the decoder should make of them.

// A palette of `count` distinct colours.
std::vector<TColor> Palette(int count) {
  std::vector<TColor> colours;
  for (int i = 0; i < count; ++i) colours.push_back(RGB(i, 255 - i, (i * 37) & 0xFF));
  return colours;
}

// Deterministic noise: indices below `colours`.
Bytes Noise(int width, int height, int colours, std::uint32_t seed = 12345) {
  Bytes indices;
  for (int i = 0; i < width * height; ++i) {
    seed = seed * 1103515245u + 12345u;
    indices.push_back(
        static_cast<std::uint8_t>((seed >> 16) % static_cast<std::uint32_t>(colours)));
  }
  return indices;
}

Bytes Fill(int width, int height, int (*pattern)(int x, int y)) {
  Bytes indices;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) indices.push_back(static_cast<std::uint8_t>(pattern(x, y)));
  }
  return indices;
}

// Each pixel of the picture: its colour where opaque, -1 where transparent.
std::vector<std::int64_t> Seen(const TGifPicture& picture) {
  std::vector<std::int64_t> pixels;
  for (int y = 0; y < picture.Bitmap.Height(); ++y) {
    for (int x = 0; x < picture.Bitmap.Width(); ++x) {
      if (picture.Opaque(x, y)) {
        pixels.push_back(picture.Bitmap.Pixel(x, y));
      } else {
        pixels.push_back(-1);
        // Transparent pixels hold the transparent colour, so drawing them opaque shows it.
        EXPECT_EQ(picture.Bitmap.Pixel(x, y), picture.TransparentColor) << x << "," << y;
      }
    }
  }
  return pixels;
}

// What Seen() should give for `image` on a screen of `width` x `height`, its colours from
// `table`, pixels of index `transparentIndex` (if any) see-through.
std::vector<std::int64_t> Expected(int width, int height, const Image& image,
                                   const std::vector<TColor>& table, int transparentIndex = -1) {
  std::vector<std::int64_t> pixels(static_cast<std::size_t>(width) * height, -1);
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const int index = image.indices[static_cast<std::size_t>(y) * image.width + x];
      if (index == transparentIndex) continue;
      pixels[static_cast<std::size_t>(image.top + y) * width + image.left + x] =
          table.at(static_cast<std::size_t>(index));
    }
  }
  return pixels;
}

// ---------------------------------------------------------------------------------------------

// Files made by hand, bit by bit, so that the writer above is not the only witness.
TEST(GifDecodeTest, DecodesHandMadeFiles) {
  // One transparent pixel: white and black, the Graphic Control Extension marking index 0, and the
  // codes clear (4), 0 and end (5), three bits each.
  // clang-format off
  const Bytes pixel = {
      'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0,  // screen 1 x 1, 2 colours
      0xFF, 0xFF, 0xFF, 0, 0, 0,                             // white, black
      0x21, 0xF9, 4, 0x01, 0, 0, 0, 0,                       // index 0 transparent
      0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0,                       // image 1 x 1 at 0, 0
      2, 2, 0x44, 0x01, 0,                                   // code size 2, 2 bytes of codes
      0x3B};
  // clang-format on
  const TGifPicture one = DecodeGif(pixel);
  EXPECT_EQ(one.Bitmap.Width(), 1);
  EXPECT_EQ(one.Bitmap.Height(), 1);
  EXPECT_TRUE(one.Transparent);
  EXPECT_EQ(one.TransparentColor, clWhite);
  EXPECT_EQ(Seen(one), (std::vector<std::int64_t>{-1}));

  // A 10 x 10 picture in white (0), red (1), blue (2) and black (3) whose codes grow to 4 bits and
  // use an entry in the same code that makes it.
  // clang-format off
  const Bytes squares = {
      'G', 'I', 'F', '8', '9', 'a', 10, 0, 10, 0, 0x91, 0, 0,     // screen 10 x 10, 4 colours
      0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0xFF, 0, 0, 0,          // white, red, blue, black
      0x21, 0xF9, 4, 0, 0, 0, 0, 0,                               // nothing transparent
      0x2C, 0, 0, 0, 0, 10, 0, 10, 0, 0,                          // image 10 x 10 at 0, 0
      2, 0x16, 0x8C, 0x2D, 0x99, 0x87, 0x2A, 0x1C, 0xDC, 0x33,    // code size 2, 22 bytes
      0xA0, 0x02, 0x75, 0xEC, 0x95, 0xFA, 0xA8, 0xDE, 0x60, 0x8C,
      0x04, 0x91, 0x4C, 0x01, 0,
      0x3B};
  // clang-format on
  const char* rows[] = {"1111122222", "1111122222", "1111122222", "1110000222", "1110000222",
                        "2220000111", "2220000111", "2222211111", "2222211111", "2222211111"};
  const std::int64_t colours[] = {clWhite, clRed, clBlue};
  std::vector<std::int64_t> expected;
  for (const char* row : rows) {
    for (const char* c = row; *c != 0; ++c) expected.push_back(colours[*c - '0']);
  }
  const TGifPicture ten = DecodeGif(squares);
  EXPECT_FALSE(ten.Transparent);
  EXPECT_EQ(Seen(ten), expected);
}

int Checkers(int x, int y) { return (x + y) & 1; }
int Runs(int x, int y) { return (x / 7 + y) % 3 == 0 ? 1 : 0; }
int Diagonals(int x, int y) { return (x * 3 + y * 5) & 0xFF; }

// Pictures written with every code size and the encoder's every choice decode to what was written.
TEST(GifDecodeTest, RoundTrips) {
  struct Case {
    const char* name;
    int colours;
    int width;
    int height;
    Bytes indices;
    LzwOptions lzw = {};
    std::size_t subBlockSize = 255;
    std::string signature = "GIF89a";
  };
  const Case cases[] = {
      {"two colours", 2, 9, 7, Fill(9, 7, Checkers)},
      {"two colours, long runs", 2, 40, 5, Fill(40, 5, Runs)},
      {"two colours, one run", 2, 300, 3, Bytes(900, 1)},
      {"256 colours", 256, 31, 17, Fill(31, 17, Diagonals)},
      {"256 colours of noise", 256, 64, 64, Noise(64, 64, 256)},
      {"code size wider than the table", 2, 9, 7, Fill(9, 7, Checkers), {.codeSize = 8}},
      {"no leading clear code", 4, 20, 20, Noise(20, 20, 4), {.leadingClear = false}},
      {"no end code", 16, 20, 20, Noise(20, 20, 16), {.endCode = false}},
      {"no end code, table full", 256, 64, 64, Noise(64, 64, 256), {.endCode = false}},
      {"one-byte sub-blocks", 16, 20, 20, Noise(20, 20, 16), {}, 1},
      // The stream may go on past the last pixel, even within one code's string.
      {"a string past the last pixel", 2, 2, 2, Bytes(9, 1)},
      {"codes past the last pixel", 16, 3, 2, Noise(5, 5, 16)},
      {"GIF87a", 4, 5, 5, Noise(5, 5, 4), {}, 255, "GIF87a"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<TColor> table = Palette(c.colours);
    Image image{.width = c.width,
                .height = c.height,
                .indices = c.indices,
                .lzw = c.lzw,
                .subBlockSize = c.subBlockSize};
    const TGifPicture picture =
        DecodeGif(GifWriter(c.width, c.height, table, 0, c.signature).Add(image).Build());
    EXPECT_EQ(Seen(picture), Expected(c.width, c.height, image, table));
    EXPECT_FALSE(picture.Transparent);
  }

  // Every table size from 2 to 256 colours, each with its own minimum code size.
  for (int bits = 1; bits <= 8; ++bits) {
    SCOPED_TRACE("colour bits " + std::to_string(bits));
    const std::vector<TColor> table = Palette(1 << bits);
    const Image image{.width = 23, .height = 11, .indices = Noise(23, 11, 1 << bits, bits)};
    const Bytes file = GifWriter(23, 11, table).Add(image).Build();
    EXPECT_EQ(file[13 + 3 * table.size() + 10], std::max(2, bits));  // the minimum code size
    EXPECT_EQ(Seen(DecodeGif(file)), Expected(23, 11, image, table));
  }
}

// Noise in 256 colours fills the 4096-entry table; the encoder then either clears at once, or
// keeps sending 12-bit codes against the full table before a clear (or never clears).
TEST(GifDecodeTest, FullCodeTable) {
  struct Case {
    const char* name;
    LzwOptions lzw;
    bool clears;
  };
  const Case cases[] = {
      {"clear when full", {.whenFull = FullTable::kClear}, true},
      {"deferred clear", {.whenFull = FullTable::kDefer, .deferredCodes = 60}, true},
      {"never cleared", {.whenFull = FullTable::kDefer}, false},
  };
  const std::vector<TColor> table = Palette(256);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Image image{.width = 64, .height = 96, .indices = Noise(64, 96, 256, 7), .lzw = c.lzw};
    LzwStats stats;
    const Bytes file = GifWriter(64, 96, table).Add(image, &stats).Build();
    // The encoding went where the case says.
    EXPECT_EQ(stats.widestCode, 12);
    EXPECT_EQ(stats.clears > 0, c.clears);
    if (c.lzw.whenFull == FullTable::kDefer) {
      EXPECT_GE(stats.fullTableCodes, std::max(c.lzw.deferredCodes, 1));
    }
    EXPECT_EQ(Seen(DecodeGif(file)), Expected(64, 96, image, table));
  }
}

// The stream's rows of an interlaced image land every 8th from 0, every 8th from 4, every 4th
// from 2, then every 2nd from 1.
TEST(GifDecodeTest, InterlacedRows) {
  const std::vector<TColor> table = Palette(16);
  // Stream row r is filled with index r; written as given (not interlaced by the writer).
  Bytes stream;
  for (int r = 0; r < 10; ++r) stream.insert(stream.end(), 3, static_cast<std::uint8_t>(r));
  Bytes file =
      GifWriter(3, 10, table).Add(Image{.width = 3, .height = 10, .indices = stream}).Build();
  file[13 + 3 * 16 + 9] |= 0x40;  // the interlace flag, set after the fact
  const TGifPicture picture = DecodeGif(file);
  const int streamRowOfScreenRow[] = {0, 5, 3, 6, 2, 7, 4, 8, 1, 9};
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 3; ++x) {
      EXPECT_EQ(picture.Bitmap.Pixel(x, y),
                table[static_cast<std::size_t>(streamRowOfScreenRow[y])])
          << x << "," << y;
    }
  }

  // Every height, so that each pass starts, ends or is empty in turn.
  for (int height = 1; height <= 17; ++height) {
    SCOPED_TRACE("height " + std::to_string(height));
    const Image image{.width = 2,
                      .height = height,
                      .interlaced = true,
                      .indices = Noise(2, height, 16, static_cast<std::uint32_t>(height))};
    EXPECT_EQ(Seen(DecodeGif(GifWriter(2, height, table).Add(image).Build())),
              Expected(2, height, image, table));
  }
}

TEST(GifTransparencyTest, TransparentIndex) {
  const std::vector<TColor> table = {clRed, clLime, clBlue, clWhite};
  const Image image{.width = 4, .height = 1, .indices = {0, 1, 2, 1}};
  struct Case {
    const char* name;
    Bytes before;  // blocks between the screen and the image
    bool transparent;
    TColor transparentColor;
    std::vector<std::int64_t> seen;
  };
  const auto blocks = [](const std::function<void(GifWriter&)>& add) {
    GifWriter writer(1, 1);
    const std::size_t header = writer.Build().size() - 1;
    add(writer);
    Bytes file = writer.Build();
    return Bytes(file.begin() + static_cast<std::ptrdiff_t>(header), file.end() - 1);
  };
  const std::vector<std::int64_t> all = {clRed, clLime, clBlue, clLime};
  const std::vector<std::int64_t> holes = {clRed, -1, clBlue, -1};
  const Case cases[] = {
      // Without a transparent index the see-through colour is the screen's background (3).
      {"no control", {}, false, clWhite, all},
      {"index 1", blocks([](GifWriter& w) { w.Control(1); }), true, clLime, holes},
      {"index 1 without the transparent flag", blocks([](GifWriter& w) { w.Control(1, false); }),
       false, clWhite, all},
      {"index beyond the table", blocks([](GifWriter& w) { w.Control(200); }), false, clWhite, all},
      {"control then a comment",
       blocks([](GifWriter& w) { w.Control(1).Extension(0xFE, {{'h'}}); }), true, clLime, holes},
      {"the last of two controls", blocks([](GifWriter& w) { w.Control(2).Control(1); }), true,
       clLime, holes},
      // A plain text block is the graphic the control before it belongs to.
      {"control taken by plain text", blocks([](GifWriter& w) {
         w.Control(1).Extension(0x01, {Bytes(12, 0), {'h', 'i'}});
       }),
       false, clWhite, all},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TGifPicture picture =
        DecodeGif(GifWriter(4, 1, table, 3).Raw(c.before).Add(image).Build());
    EXPECT_EQ(picture.Transparent, c.transparent);
    EXPECT_EQ(picture.TransparentColor, c.transparentColor);
    EXPECT_EQ(Seen(picture), c.seen);
    EXPECT_EQ(picture.Mask.size(), 4u);
  }

  // A transparent index refers to the image's own table when it has one; a transparent pixel
  // whose index lies beyond the table is no error.
  const std::vector<TColor> local = {clYellow, clPurple};
  const TGifPicture picture =
      DecodeGif(GifWriter(3, 1, table)
                    .Control(1)
                    .Add(Image{.width = 3, .height = 1, .localTable = local, .indices = {0, 1, 0}})
                    .Build());
  EXPECT_EQ(picture.TransparentColor, clPurple);
  EXPECT_EQ(Seen(picture), (std::vector<std::int64_t>{clYellow, -1, clYellow}));
  EXPECT_EQ(
      Seen(DecodeGif(
          GifWriter(3, 1, local)
              .Control(3)
              .Add(Image{.width = 3, .height = 1, .indices = {0, 3, 1}, .lzw = {.codeSize = 2}})
              .Build())),
      (std::vector<std::int64_t>{clYellow, -1, clPurple}));
}

// An image smaller than the screen leaves the rest of it transparent, in the transparent colour.
TEST(GifTransparencyTest, ImageSmallerThanTheScreen) {
  const std::vector<TColor> table = {clRed, clLime, clBlue, clWhite};
  const Image image{.left = 2, .top = 1, .width = 3, .height = 2, .indices = {0, 1, 2, 2, 1, 0}};
  const Image corner{.left = 5, .top = 4, .width = 1, .height = 1, .indices = {1}};
  struct Case {
    const char* name;
    Bytes file;
    const Image& image;
    TColor transparentColor;
    int transparentIndex;
  };
  const Case cases[] = {
      {"background from the global table", GifWriter(6, 5, table, 2).Add(image).Build(), image,
       clBlue, -1},
      {"background index beyond the table", GifWriter(6, 5, table, 9).Add(image).Build(), image,
       clBlack, -1},
      {"transparent colour", GifWriter(6, 5, table, 2).Control(0).Add(image).Build(), image, clRed,
       0},
      {"no global table",
       GifWriter(6, 5, {}, 2)
           .Add(Image{.left = 2,
                      .top = 1,
                      .width = 3,
                      .height = 2,
                      .localTable = table,
                      .indices = image.indices})
           .Build(),
       image, clBlack, -1},
      {"bottom right corner", GifWriter(6, 5, table, 3).Add(corner).Build(), corner, clWhite, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TGifPicture picture = DecodeGif(c.file);
    ASSERT_EQ(picture.Bitmap.Width(), 6);
    ASSERT_EQ(picture.Bitmap.Height(), 5);
    EXPECT_TRUE(picture.Transparent);
    EXPECT_EQ(picture.TransparentColor, c.transparentColor);
    EXPECT_EQ(Seen(picture), Expected(6, 5, c.image, table, c.transparentIndex));
  }
  const TGifPicture picture = DecodeGif(GifWriter(6, 5, table).Add(image).Build());
  EXPECT_FALSE(picture.Opaque(-1, 1));
  EXPECT_FALSE(picture.Opaque(6, 1));
  EXPECT_FALSE(picture.Opaque(2, 5));
  EXPECT_TRUE(picture.Opaque(2, 1));
}

// Extensions of every kind, and images after the first, are stepped over.
TEST(GifDecodeTest, SkipsExtensionsAndLaterImages) {
  const std::vector<TColor> table = Palette(8);
  const Image first{.width = 5, .height = 4, .indices = Noise(5, 4, 8, 1)};
  const Image second{.left = 1,
                     .top = 1,
                     .width = 2,
                     .height = 2,
                     .interlaced = true,
                     .localTable = Palette(4),
                     .indices = {3, 3, 3, 3}};
  const Bytes file =
      GifWriter(5, 4, table)
          .Extension(0xFF, {{'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'}, {1, 0, 0}})
          .Extension(0xFE, {Bytes(255, 'c'), Bytes(3, 'd')})
          .Extension(0xFE, {})
          .Extension(0x77, {{1, 2, 3}})  // a label this decoder does not know
          .Add(first)
          .Control(3)
          .Extension(0x01, {Bytes(12, 0), {'h', 'i'}})
          .Add(second)
          .Extension(0xFE, {{'e', 'n', 'd'}})
          .Build();
  const TGifPicture picture = DecodeGif(file);
  EXPECT_FALSE(picture.Transparent);
  EXPECT_EQ(Seen(picture), Expected(5, 4, first, table));

  // Bytes after the trailer are not looked at.
  Bytes padded = file;
  padded.insert(padded.end(), {0xDE, 0xAD});
  EXPECT_EQ(Seen(DecodeGif(padded)), Expected(5, 4, first, table));
}

// ---------------------------------------------------------------------------------------------
// Malformed input.

void ExpectInvalid(const Bytes& file, const std::string& reason) {
  try {
    DecodeGif(file);
    ADD_FAILURE() << "decoded";
  } catch (const Exception& error) {
    const std::string prefix = "Invalid GIF picture: ";
    EXPECT_EQ(error.Message().substr(0, prefix.size()), prefix) << error.Message();
    EXPECT_NE(error.Message().find(reason), std::string::npos) << error.Message();
  }
}

// A file with a bit of everything: extensions, a transparent interlaced image with a local table
// smaller than the screen, and a second image.
Bytes RichFile() {
  return GifWriter(12, 9, Palette(8), 2)
      .Extension(0xFE, {{'T', 'a', 'm', 'i', 'k'}})
      .Control(5)
      .Add(Image{.left = 2,
                 .top = 1,
                 .width = 9,
                 .height = 7,
                 .interlaced = true,
                 .localTable = Palette(32),
                 .indices = Noise(9, 7, 32, 3)})
      .Add(Image{.width = 2, .height = 2, .indices = {1, 2, 3, 4}})
      .Build();
}

TEST(GifCorruptInputTest, EveryTruncationRaises) {
  const Bytes files[] = {
      RichFile(), GifWriter(64, 64, Palette(256))
                      .Add(Image{.width = 64, .height = 64, .indices = Noise(64, 64, 256, 9)})
                      .Build()};
  for (const Bytes& file : files) {
    ASSERT_NO_THROW(DecodeGif(file));
    for (std::size_t length = 0; length < file.size(); ++length) {
      SCOPED_TRACE("prefix of " + std::to_string(length) + " bytes");
      ExpectInvalid(Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length)), "");
    }
  }
}

TEST(GifCorruptInputTest, MalformedFilesRaise) {
  const std::vector<TColor> two = {clBlack, clWhite};
  const Image dot{.width = 2, .height = 2, .indices = {0, 1, 1, 0}};
  const auto withCodes = [](std::initializer_list<std::pair<int, int>> codes) {
    CodePacker packer;
    for (const auto& [code, bits] : codes) packer.Put(code, bits);
    return packer.Finish();
  };
  const auto codeSize = [&](int size) {
    Image image = dot;
    image.lzw.codeSize = size;
    if (size < 2 || size > 8) image.data = Bytes{0xFF, 0xFF};  // what follows the size is moot
    return GifWriter(2, 2, two).Add(image).Build();
  };
  // A 2 x 2 image, two colours, codes of 3 bits: clear 4, end 5, the first new entry 6.
  const auto stream = [&](std::initializer_list<std::pair<int, int>> codes) {
    Image image = dot;
    image.lzw.codeSize = 2;
    image.data = withCodes(codes);
    return GifWriter(2, 2, two).Add(image).Build();
  };
  struct Case {
    const char* name;
    Bytes file;
    const char* reason;
  };
  const Case cases[] = {
      {"empty", {}, "ends too early"},
      {"GIF88a", GifWriter(2, 2, two, 0, "GIF88a").Add(dot).Build(), "signature"},
      {"PNG", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 0, 0, 0}, "signature"},
      {"screen width 0", GifWriter(0, 2, two).Add(dot).Build(), "screen has no pixels"},
      {"screen height 0", GifWriter(2, 0, two).Add(dot).Build(), "screen has no pixels"},
      {"screen 4097 wide", GifWriter(4097, 2, two).Add(dot).Build(), "larger than 4096"},
      {"screen 65535 x 65535", GifWriter(65535, 65535, two).Add(dot).Build(), "larger than 4096"},
      {"image one pixel too far right",
       GifWriter(2, 2, two)
           .Add(Image{.left = 1, .width = 2, .height = 2, .indices = dot.indices})
           .Build(),
       "outside the logical screen"},
      {"image one pixel too far down",
       GifWriter(2, 2, two)
           .Add(Image{.top = 1, .width = 2, .height = 2, .indices = dot.indices})
           .Build(),
       "outside the logical screen"},
      {"image at 65535, 65535",
       GifWriter(2, 2, two)
           .Add(Image{.left = 65535, .top = 65535, .width = 1, .height = 1, .indices = {0}})
           .Build(),
       "outside the logical screen"},
      {"image larger than the screen",
       GifWriter(2, 2, two).Add(Image{.width = 65535, .height = 65535}).Build(),
       "outside the logical screen"},
      {"image of zero width", GifWriter(2, 2, two).Add(Image{.width = 0, .height = 2}).Build(),
       "image has no pixels"},
      {"no colour table", GifWriter(2, 2).Add(dot).Build(), "no colour table"},
      {"code size 0", codeSize(0), "code size"},
      {"code size 1", codeSize(1), "code size"},
      {"code size 9", codeSize(9), "code size"},
      {"code size 12", codeSize(12), "code size"},
      {"first code not a colour", stream({{4, 3}, {6, 3}, {5, 3}}), "not in the code table"},
      {"code beyond the next entry", stream({{4, 3}, {0, 3}, {7, 3}, {5, 3}}),
       "not in the code table"},
      {"end code as the first code", stream({{4, 3}, {5, 3}}), "before its last pixel"},
      {"end code before the last pixel", stream({{4, 3}, {0, 3}, {1, 3}, {5, 3}}),
       "before its last pixel"},
      {"codes run out before the last pixel", stream({{4, 3}, {0, 3}}), "before its last pixel"},
      {"no image data", stream({}), "before its last pixel"},
      {"colour index just beyond the table", stream({{4, 3}, {0, 3}, {2, 3}, {6, 3}}),
       "beyond the colour table"},
      {"colour index beyond a local table",
       GifWriter(2, 2, Palette(256))
           .Add(Image{.width = 2,
                      .height = 2,
                      .localTable = two,
                      .indices = {0, 1, 5, 1},
                      .lzw = {.codeSize = 8}})
           .Build(),
       "beyond the colour table"},
      {"no image", GifWriter(2, 2, two).Build(), "no image"},
      {"only extensions", GifWriter(2, 2, two).Control(0).Extension(0xFE, {{'x'}}).Build(),
       "no image"},
      {"unknown block", GifWriter(2, 2, two).Raw({0x00}).Add(dot).Build(),
       "unknown block type 0x00"},
      {"graphic control too short",
       GifWriter(2, 2, two).Extension(0xF9, {{1, 0, 0}}).Add(dot).Build(), "graphic control"},
      {"graphic control without data", GifWriter(2, 2, two).Extension(0xF9, {}).Add(dot).Build(),
       "graphic control"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectInvalid(c.file, c.reason);
  }
  // The same streams, well formed, decode: the cases above fail for the reason they name.
  EXPECT_NO_THROW(DecodeGif(stream({{4, 3}, {0, 3}, {1, 3}, {6, 3}, {5, 3}})));
  EXPECT_NO_THROW(DecodeGif(stream({{4, 3}, {0, 3}, {1, 3}, {6, 3}})));
  EXPECT_NO_THROW(DecodeGif(stream({{4, 3}, {0, 3}, {3 - 2, 3}, {6, 3}})));
  EXPECT_NO_THROW(DecodeGif(codeSize(2)));
  EXPECT_NO_THROW(DecodeGif(codeSize(8)));
}

// Every byte of a valid file, changed in turn, gives a picture or an Exception: never a crash, an
// endless loop or another kind of error.
TEST(GifCorruptInputTest, ChangedBytesNeverCrash) {
  const Bytes files[] = {
      RichFile(), GifWriter(24, 20, Palette(256))
                      .Add(Image{.width = 24, .height = 20, .indices = Noise(24, 20, 256, 4)})
                      .Build()};
  for (const Bytes& file : files) {
    for (std::size_t at = 0; at < file.size(); ++at) {
      for (const std::uint8_t value :
           {std::uint8_t{0x00}, std::uint8_t{0xFF}, static_cast<std::uint8_t>(file[at] ^ 0x01),
            static_cast<std::uint8_t>(file[at] ^ 0x80)}) {
        Bytes changed = file;
        changed[at] = value;
        try {
          const TGifPicture picture = DecodeGif(changed);
          EXPECT_EQ(picture.Mask.size(),
                    static_cast<std::size_t>(picture.Bitmap.Width()) * picture.Bitmap.Height());
        } catch (const Exception& error) {
          EXPECT_EQ(error.Message().rfind("Invalid GIF picture: ", 0), 0u) << error.Message();
        }
      }
    }
  }
}

}  // namespace
