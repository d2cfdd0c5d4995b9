#include "framework/GifImage.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

#include "framework/Exception.h"

namespace {

[[noreturn]] void Fail(std::string_view reason) {
  throw Exception("Invalid GIF picture: " + std::string(reason));
}

// Block introducers and extension labels.
constexpr std::uint8_t kExtensionIntroducer = 0x21;
constexpr std::uint8_t kImageSeparator = 0x2C;
constexpr std::uint8_t kTrailer = 0x3B;
constexpr std::uint8_t kPlainTextLabel = 0x01;
constexpr std::uint8_t kGraphicControlLabel = 0xF9;

// LZW codes are at most 12 bits wide, so the code table holds at most 4096 entries.
constexpr int kMaxCodeBits = 12;
constexpr int kMaxCodes = 1 << kMaxCodeBits;

// Sequential reading of the file; every read past the end raises Exception.
class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::uint8_t Byte() {
    if (position_ >= bytes_.size()) Fail("the data ends too early");
    return bytes_[position_++];
  }

  // A 16-bit little-endian value.
  int Word() {
    const int low = Byte();
    return low | (Byte() << 8);
  }

  std::span<const std::uint8_t> Take(std::size_t count) {
    if (count > bytes_.size() - position_) Fail("the data ends too early");
    const auto taken = bytes_.subspan(position_, count);
    position_ += count;
    return taken;
  }

  // Reads data sub-blocks up to and including the zero-length terminator, appending their bytes
  // to `data` when it is given. The result is bounded by the file's size.
  void SubBlocks(std::vector<std::uint8_t>* data) {
    for (std::uint8_t size = Byte(); size != 0; size = Byte()) {
      const auto block = Take(size);
      if (data != nullptr) data->insert(data->end(), block.begin(), block.end());
    }
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t position_ = 0;
};

struct ColorTable {
  std::array<TColor, 256> colors{};
  int count = 0;  // 0: no table
};

// Reads a colour table of 2^(sizeBits + 1) red, green, blue triples.
ColorTable ReadColorTable(Reader& reader, int sizeBits) {
  ColorTable table;
  table.count = 2 << sizeBits;
  const auto triples = reader.Take(static_cast<std::size_t>(table.count) * 3);
  for (int i = 0; i < table.count; ++i) {
    table.colors[static_cast<std::size_t>(i)] =
        RGB(triples[3 * i], triples[3 * i + 1], triples[3 * i + 2]);
  }
  return table;
}

// The part of a Graphic Control Extension the picture needs.
struct GraphicControl {
  bool transparent = false;
  int transparentIndex = 0;
};

GraphicControl ReadGraphicControl(Reader& reader) {
  const std::uint8_t size = reader.Byte();
  if (size < 4) Fail("a graphic control extension is too short");
  const auto block = reader.Take(size);
  GraphicControl control;
  control.transparent = (block[0] & 0x01) != 0;
  control.transparentIndex = block[3];
  reader.SubBlocks(nullptr);
  return control;
}

struct ImageDescriptor {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool interlaced = false;
  ColorTable localTable;
};

ImageDescriptor ReadImageDescriptor(Reader& reader) {
  ImageDescriptor image;
  image.left = reader.Word();
  image.top = reader.Word();
  image.width = reader.Word();
  image.height = reader.Word();
  const std::uint8_t packed = reader.Byte();
  image.interlaced = (packed & 0x40) != 0;
  if ((packed & 0x80) != 0) image.localTable = ReadColorTable(reader, packed & 0x07);
  return image;
}

// Decodes the LZW stream `data` into `indices`, one colour index per pixel in stream order. The
// stream may stop without its end code once every pixel is known; codes after the last pixel are
// ignored. Every code consumes at least three bits of the bounded data, so decoding ends.
void DecodeLzw(std::span<const std::uint8_t> data, int minCodeSize,
               std::span<std::uint8_t> indices) {
  // Each entry is its prefix's string followed by one index; `first` and `length` describe the
  // whole string so that it can be written back to front in place.
  std::array<std::uint16_t, kMaxCodes> prefix{};
  std::array<std::uint8_t, kMaxCodes> suffix{};
  std::array<std::uint8_t, kMaxCodes> first{};
  std::array<std::uint16_t, kMaxCodes> length{};
  const int clearCode = 1 << minCodeSize;
  const int endCode = clearCode + 1;
  for (int i = 0; i < clearCode; ++i) {
    suffix[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    first[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    length[static_cast<std::size_t>(i)] = 1;
  }

  int codeBits = minCodeSize + 1;
  int nextCode = endCode + 1;
  int previous = -1;  // none after a clear code
  std::uint32_t bits = 0;
  int bitCount = 0;
  std::size_t position = 0;
  std::size_t written = 0;
  while (written < indices.size()) {
    while (bitCount < codeBits) {
      if (position == data.size()) Fail("the image data ends before its last pixel");
      bits |= static_cast<std::uint32_t>(data[position++]) << bitCount;
      bitCount += 8;
    }
    const int code = static_cast<int>(bits & ((1u << codeBits) - 1));
    bits >>= codeBits;
    bitCount -= codeBits;

    if (code == clearCode) {
      codeBits = minCodeSize + 1;
      nextCode = endCode + 1;
      previous = -1;
      continue;
    }
    if (code == endCode) Fail("the image data ends before its last pixel");
    if (previous < 0) {
      if (code > clearCode) Fail("an LZW code is not in the code table");
    } else {
      if (code > nextCode) Fail("an LZW code is not in the code table");
      // Once the table is full, codes keep their 12 bits and the table stays as it is until the
      // encoder sends a clear code.
      if (nextCode < kMaxCodes) {
        const auto entry = static_cast<std::size_t>(nextCode);
        const auto prior = static_cast<std::size_t>(previous);
        prefix[entry] = static_cast<std::uint16_t>(previous);
        // A code equal to the entry being made stands for the previous string plus its own first
        // index.
        suffix[entry] = code == nextCode ? first[prior] : first[static_cast<std::size_t>(code)];
        first[entry] = first[prior];
        length[entry] = static_cast<std::uint16_t>(length[prior] + 1);
        ++nextCode;
        if (nextCode == (1 << codeBits) && codeBits < kMaxCodeBits) ++codeBits;
      }
    }
    previous = code;

    // Writes the code's string back to front, dropping whatever falls after the last pixel.
    auto entry = static_cast<std::size_t>(code);
    const std::size_t stringLength = length[entry];
    std::size_t at = written + stringLength;
    while (at > written) {
      --at;
      if (at < indices.size()) indices[at] = suffix[entry];
      entry = prefix[entry];
    }
    written += stringLength;
  }
}

// The order in which the stream delivers the image's rows: top to bottom, or for an interlaced
// image every 8th row from 0, every 8th from 4, every 4th from 2, then every 2nd from 1.
std::vector<int> RowOrder(int height, bool interlaced) {
  std::vector<int> rows;
  rows.reserve(static_cast<std::size_t>(height));
  if (!interlaced) {
    for (int y = 0; y < height; ++y) rows.push_back(y);
    return rows;
  }
  constexpr std::array<std::array<int, 2>, 4> kPasses = {{{0, 8}, {4, 8}, {2, 4}, {1, 2}}};
  for (const auto& [start, step] : kPasses) {
    for (int y = start; y < height; y += step) rows.push_back(y);
  }
  return rows;
}

}  // namespace

bool TGifPicture::Opaque(int x, int y) const {
  if (x < 0 || y < 0 || x >= Bitmap.Width() || y >= Bitmap.Height()) return false;
  const auto index = static_cast<std::size_t>(y) * static_cast<std::size_t>(Bitmap.Width()) +
                     static_cast<std::size_t>(x);
  return index < Mask.size() && Mask[index] != 0;
}

TGifPicture DecodeGif(std::span<const std::uint8_t> bytes) {
  Reader reader(bytes);
  const auto signature = reader.Take(6);
  const std::string_view text(reinterpret_cast<const char*>(signature.data()), signature.size());
  if (text != "GIF87a" && text != "GIF89a") Fail("the signature is not GIF87a or GIF89a");

  const int screenWidth = reader.Word();
  const int screenHeight = reader.Word();
  const std::uint8_t screenPacked = reader.Byte();
  const int backgroundIndex = reader.Byte();
  reader.Byte();  // the pixels' width-to-height ratio, unused
  if (screenWidth == 0 || screenHeight == 0) Fail("the logical screen has no pixels");
  if (screenWidth > kGifMaxDimension || screenHeight > kGifMaxDimension) {
    Fail("the logical screen is larger than 4096 x 4096 pixels");
  }
  ColorTable globalTable;
  if ((screenPacked & 0x80) != 0) globalTable = ReadColorTable(reader, screenPacked & 0x07);

  TGifPicture picture;
  bool decoded = false;
  GraphicControl control;  // the one that applies to the next image
  for (;;) {
    const std::uint8_t introducer = reader.Byte();
    if (introducer == kTrailer) break;
    if (introducer == kExtensionIntroducer) {
      const std::uint8_t label = reader.Byte();
      if (label == kGraphicControlLabel) {
        control = ReadGraphicControl(reader);
      } else {
        reader.SubBlocks(nullptr);
        // A plain text block is a graphic of its own and consumes the control before it.
        if (label == kPlainTextLabel) control = GraphicControl{};
      }
      continue;
    }
    if (introducer != kImageSeparator) {
      char reason[48];
      std::snprintf(reason, sizeof reason, "unknown block type 0x%02X", introducer);
      Fail(reason);
    }

    const ImageDescriptor image = ReadImageDescriptor(reader);
    const int minCodeSize = reader.Byte();
    std::vector<std::uint8_t> data;
    reader.SubBlocks(decoded ? nullptr : &data);
    if (decoded) {
      control = GraphicControl{};
      continue;  // later images only need to be well formed blocks
    }

    if (image.width == 0 || image.height == 0) Fail("the image has no pixels");
    if (image.left + image.width > screenWidth || image.top + image.height > screenHeight) {
      Fail("the image lies outside the logical screen");
    }
    const ColorTable& table = image.localTable.count != 0 ? image.localTable : globalTable;
    if (table.count == 0) Fail("the image has no colour table");
    if (minCodeSize < 2 || minCodeSize > 8) Fail("the LZW code size is outside 2 to 8 bits");

    std::vector<std::uint8_t> indices(static_cast<std::size_t>(image.width) *
                                      static_cast<std::size_t>(image.height));
    DecodeLzw(data, minCodeSize, indices);

    if (control.transparent && control.transparentIndex < table.count) {
      picture.TransparentColor = table.colors[static_cast<std::size_t>(control.transparentIndex)];
    } else if (backgroundIndex < globalTable.count) {
      picture.TransparentColor = globalTable.colors[static_cast<std::size_t>(backgroundIndex)];
    } else {
      picture.TransparentColor = clBlack;
    }

    picture.Bitmap.SetSize(screenWidth, screenHeight);
    const std::uint32_t background =
        TBitmap::PixelFromRgb(static_cast<std::uint32_t>(picture.TransparentColor));
    const std::size_t screenPixels =
        static_cast<std::size_t>(screenWidth) * static_cast<std::size_t>(screenHeight);
    std::fill_n(picture.Bitmap.Pixels(), screenPixels, background);
    picture.Mask.assign(screenPixels, 0);

    const std::vector<int> rows = RowOrder(image.height, image.interlaced);
    const std::uint8_t* source = indices.data();
    for (const int row : rows) {
      const int y = image.top + row;
      std::uint32_t* pixels = picture.Bitmap.Row(y) + image.left;
      std::uint8_t* mask = picture.Mask.data() +
                           static_cast<std::size_t>(y) * static_cast<std::size_t>(screenWidth) +
                           static_cast<std::size_t>(image.left);
      for (int x = 0; x < image.width; ++x) {
        const int index = *source++;
        if (control.transparent && index == control.transparentIndex) continue;
        if (index >= table.count) Fail("a colour index is beyond the colour table");
        pixels[x] = TBitmap::PixelFromRgb(
            static_cast<std::uint32_t>(table.colors[static_cast<std::size_t>(index)]));
        mask[x] = 1;
      }
    }
    decoded = true;
    control = GraphicControl{};
  }
  if (!decoded) Fail("the file holds no image");

  for (const std::uint8_t opaque : picture.Mask) {
    if (opaque == 0) {
      picture.Transparent = true;
      break;
    }
  }
  return picture;
}
