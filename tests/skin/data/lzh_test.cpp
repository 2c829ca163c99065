#include "skin/data/lzh.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <string>

#include "skin/data/lzh_encoder.h"

namespace skin {
namespace {

std::vector<uint8_t> Bytes(const std::string& s) {
  return {s.begin(), s.end()};
}

// Text-like data with repeats at many distances, plus incompressible stretches.
std::vector<uint8_t> MixedData(size_t size, uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<uint8_t> out;
  const std::string words[] = {"[Personality]\r\n",
                               "LeftWidth=10\r\n",
                               "Image=buttons.bmp\r\n",
                               std::string("\xFF\x00\xFF", 3),
                               "TopHeight=",
                               "    "};
  while (out.size() < size) {
    switch (rng() % 4) {
      case 0: {
        const std::string& w = words[rng() % 6];
        out.insert(out.end(), w.begin(), w.end());
        break;
      }
      case 1:
        for (int i = 0; i < 20; i++)
          out.push_back(static_cast<uint8_t>(rng()));
        break;
      case 2:
        out.insert(out.end(), rng() % 200, static_cast<uint8_t>(rng()));
        break;
      default:
        if (out.size() > 10) {
          const size_t from = rng() % out.size();
          const size_t n = std::min<size_t>(rng() % 80, out.size() - from);
          for (size_t i = 0; i < n; i++)
            out.push_back(out[from + i]);
        }
    }
  }
  out.resize(size);
  return out;
}

TEST(LzhTest, RoundTripsDataOfEverySize) {
  for (size_t size : {size_t{0}, size_t{1}, size_t{3}, size_t{59}, size_t{60}, size_t{61},
                      size_t{4095}, size_t{4097}, size_t{100000}, size_t{270000}}) {
    const auto data = MixedData(size, static_cast<uint32_t>(size));
    const auto bits = LzhEncode(data);
    EXPECT_EQ(LzhDecode(bits, static_cast<int32_t>(data.size())), data) << "size " << size;
  }
}

TEST(LzhTest, CompressesRepetitiveData) {
  const std::vector<uint8_t> data(100000, 'x');
  EXPECT_LT(LzhEncode(data).size(), 2500u);  // about 10 bits per 60-byte match
}

TEST(LzhTest, NothingReadOrWrittenForNonPositiveSize) {
  for (int32_t size : {0, -1, -100000}) {
    int reads = 0, writes = 0;
    TLZH lzh;
    lzh.LZHUnpack(
        size, [&](const uint8_t*, uint16_t n, uint16_t& w) { writes++, w = n; },
        [&](uint8_t*, uint16_t, uint16_t& d) { reads++, d = 0; });
    EXPECT_EQ(reads, 0);
    EXPECT_EQ(writes, 0);
  }
}

TEST(LzhTest, ReadsOneByteAtATimeAndWritesOneByteAtATime) {
  const auto data = Bytes("hello hello hello");
  const auto bits = LzhEncode(data);
  size_t pos = 0;
  std::vector<uint8_t> out;
  TLZH lzh;
  lzh.LZHUnpack(
      static_cast<int32_t>(data.size()),
      [&](const uint8_t* b, uint16_t n, uint16_t& w) {
        EXPECT_EQ(n, 1);
        out.push_back(*b);
        w = n;
      },
      [&](uint8_t* b, uint16_t n, uint16_t& d) {
        EXPECT_EQ(n, 1);
        d = pos < bits.size() ? 1 : 0;
        if (d) *b = bits[pos++];
      });
  EXPECT_EQ(out, data);
  EXPECT_EQ(pos, bits.size());
}

TEST(LzhTest, DecodesBitStreamsWorkedOutByHand) {
  // Codes of the initial tree: 'A' is 111001101, a 3-byte match (symbol 256)
  // 10001100 (still so after one 'A'); position 0 is 000 + 000000, position
  // 4035 is 11111111 + 000011.
  struct Case {
    std::vector<uint8_t> bits;
    int32_t size;
    std::string expected;
  } cases[] = {
      {{0xE6, 0x80}, 1, "A"},
      {{0x8C, 0x00, 0x00}, 3, "   "},         // match before the first byte: blanks
      {{0x8C, 0xFF, 0x0C}, 3, "   "},         // from ring index 0
      {{0xE6, 0xC6, 0x00, 0x00}, 4, "AAAA"},  // 'A', then 3 bytes from distance 1
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LzhDecode(c.bits, c.size), Bytes(c.expected)) << c.expected;
  }
  // The symbol writer produces exactly these streams.
  TLzhSymbolWriter w;
  w.Literal('A');
  w.Match(3, 1);
  EXPECT_EQ(w.Finish(), cases[3].bits);
}

TEST(LzhTest, MatchAtStartCopiesInitialSpaces) {
  TLzhSymbolWriter w;
  w.Match(5, 1);  // the five bytes before position 4036: all blanks
  w.Literal('a');
  w.Match(3, 4036);  // from index 0 of the ring: blanks too
  EXPECT_EQ(LzhDecode(w.Finish(), 9), Bytes("     a   "));
}

TEST(LzhTest, OverlappingMatchRepeatsData) {
  TLzhSymbolWriter w;
  w.Literal('a');
  w.Literal('b');
  w.Match(60, 2);  // source overlaps destination: "abab..."
  w.Match(10, 1);  // repeats the last byte
  std::string expected = "ab";
  for (int i = 0; i < 30; i++)
    expected += "ab";
  expected += std::string(10, 'b');
  EXPECT_EQ(LzhDecode(w.Finish(), 72), Bytes(expected));
}

TEST(LzhTest, LastMatchIsCopiedWholePastOutputSize) {
  TLzhSymbolWriter w;
  w.Literal('z');
  w.Match(60, 1);
  const auto out = LzhDecode(w.Finish(), 2);
  EXPECT_EQ(out.size(), 61u);
}

TEST(LzhTest, TreeIsRebuiltAfter32454SymbolsAndDecodingGoesOn) {
  // Literals only: every byte is one symbol.
  std::vector<uint8_t> data(40000);
  std::mt19937 rng(7);
  for (auto& b : data)
    b = static_cast<uint8_t>(rng() % 7 == 0 ? rng() : 'e' + rng() % 3);
  TLzhSymbolWriter w;
  for (uint8_t b : data)
    w.Literal(b);
  ASSERT_GT(w.SymbolCount(), 32454);
  EXPECT_EQ(LzhDecode(w.Finish(), static_cast<int32_t>(data.size())), data);

  // The rebuild halves counts rounding up and keeps the tree consistent.
  lzh::HuffTree tree;
  tree.StartHuff();
  for (int i = 0; i < 32454; i++)
    tree.Update(i % 3 == 0 ? 'a' : 300);
  EXPECT_EQ(tree.freq[lzh::R], lzh::MAX_FREQ);
  tree.Update('q');  // triggers the rebuild first
  int leaves = 0;
  for (int i = 0; i < lzh::T; i++) {
    if (tree.son[i] >= lzh::T) {
      leaves++;
      EXPECT_EQ(tree.prnt[tree.son[i]], i);
    } else {
      EXPECT_EQ(tree.freq[i], tree.freq[tree.son[i]] + tree.freq[tree.son[i] + 1]);
    }
    EXPECT_LE(tree.freq[i], tree.freq[i + 1]);
  }
  EXPECT_EQ(leaves, lzh::N_CHAR);
  EXPECT_LT(tree.freq[lzh::R], 20000);
}

TEST(LzhTest, InputCutShortIsRefusedAfterWritingWhatItHeld) {
  const auto data = MixedData(20000, 3);
  const auto bits = LzhEncode(data);
  // Cut anywhere, from nothing at all to one byte short of the whole stream.
  for (const size_t keep : {size_t{0}, size_t{1}, size_t{2}, bits.size() / 2, bits.size() - 1}) {
    const std::vector<uint8_t> cut(bits.begin(), bits.begin() + static_cast<ptrdiff_t>(keep));
    std::vector<uint8_t> out;
    size_t pos = 0;
    TLZH lzh;
    try {
      lzh.LZHUnpack(
          20000,
          [&](const uint8_t* b, uint16_t n, uint16_t& w) {
            out.insert(out.end(), b, b + n);
            w = n;
          },
          [&](uint8_t* b, uint16_t n, uint16_t& d) {
            d = static_cast<uint16_t>(std::min<size_t>(n, cut.size() - pos));
            std::copy_n(cut.begin() + static_cast<ptrdiff_t>(pos), d, b);
            pos += d;
          });
      ADD_FAILURE() << "kept " << keep << " of " << bits.size() << " bytes";
    } catch (const ElzhException& e) {
      EXPECT_STREQ(e.what(), kLzhTruncatedMessage);
    }
    EXPECT_LT(out.size(), data.size()) << keep;
    // What was decoded before the cut is right.
    EXPECT_TRUE(std::equal(out.begin(), out.end(), data.begin())) << keep;
    EXPECT_THROW(LzhDecode(cut, 20000), ElzhException) << keep;
  }
  // The whole stream decodes: reading ahead past its last byte is no error.
  EXPECT_EQ(LzhDecode(bits, 20000), data);
}

TEST(LzhTest, GarbageInputDecodesOrIsRefusedWithoutHarm) {
  std::mt19937 rng(11);
  for (int round = 0; round < 20; round++) {
    std::vector<uint8_t> junk(500);
    for (auto& b : junk)
      b = static_cast<uint8_t>(rng());
    try {
      EXPECT_GE(LzhDecode(junk, 5000).size(), 5000u);
    } catch (const ElzhException& e) {
      EXPECT_STREQ(e.what(), kLzhTruncatedMessage);
    }
  }
}

TEST(LzhTest, ExceptionMessages) {
  EXPECT_STREQ(ElzhException(kLzhNoMemoryMessage).what(),
               "LZH : Cannot get memory for dictionary tables");
  EXPECT_STREQ(ElzhException(kLzhFreeErrorMessage).what(),
               "LZH : Error freeing memory for dictionary tables");
  EXPECT_STREQ(ElzhException(kLzhTruncatedMessage).what(),
               "LZH : Compressed data ends before the unpacked size is reached");
}

}  // namespace
}  // namespace skin
