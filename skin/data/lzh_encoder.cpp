#include "skin/data/lzh_encoder.h"

#include <cstring>
#include <stdexcept>

namespace skin {

using namespace lzh;

namespace {

// Prefix codes for the upper six bits of a position, derived from the decoding
// tables so that both sides always agree: the code of value u is the first
// index of d_code holding u, and its length is d_len there minus the six
// verbatim bits.
struct PositionCodes {
  uint8_t code[64];
  uint8_t len[64];
  PositionCodes() {
    for (int i = 255; i >= 0; i--) {
      code[d_code[i]] = static_cast<uint8_t>(i);
      len[d_code[i]] = d_len[i];
    }
  }
};

const PositionCodes& Codes() {
  static const PositionCodes codes;
  return codes;
}

}  // namespace

TLzhSymbolWriter::TLzhSymbolWriter() : tree_(std::make_unique<HuffTree>()) {
  tree_->StartHuff();
}
TLzhSymbolWriter::~TLzhSymbolWriter() = default;

void TLzhSymbolWriter::PutBits(uint32_t bits, int count) {
  for (int i = count - 1; i >= 0; i--) {
    bitbuf_ = (bitbuf_ << 1) | ((bits >> i) & 1);
    if (++bitcount_ == 8) {
      out_.push_back(static_cast<uint8_t>(bitbuf_));
      bitbuf_ = 0;
      bitcount_ = 0;
    }
  }
}

void TLzhSymbolWriter::EncodeChar(int c) {
  // Walk from the leaf to the root; a right child sits at an odd index.
  uint8_t path[T];
  int depth = 0;
  int k = tree_->prnt[c + T];
  do {
    path[depth++] = static_cast<uint8_t>(k & 1);
    k = tree_->prnt[k];
  } while (k != R);
  for (int i = depth - 1; i >= 0; i--)
    PutBits(path[i], 1);
  tree_->Update(c);
  symbols_++;
}

void TLzhSymbolWriter::Literal(uint8_t byte) {
  EncodeChar(byte);
}

void TLzhSymbolWriter::Match(int length, int distance) {
  if (length < THRESHOLD + 1 || length > F || distance < 1 || distance > N) {
    throw std::invalid_argument("LZH match out of range");
  }
  EncodeChar(255 - THRESHOLD + length);
  const int position = distance - 1;
  const PositionCodes& pc = Codes();
  const int upper = position >> 6;
  // The prefix is the top len bits of the 8-bit code.
  PutBits(static_cast<uint32_t>(pc.code[upper]) >> (8 - pc.len[upper]), pc.len[upper]);
  PutBits(static_cast<uint32_t>(position & 0x3F), 6);
}

std::vector<uint8_t> TLzhSymbolWriter::Finish() {
  if (bitcount_ > 0) {
    out_.push_back(static_cast<uint8_t>(bitbuf_ << (8 - bitcount_)));
    bitbuf_ = 0;
    bitcount_ = 0;
  }
  return std::move(out_);
}

namespace {

// Binary-tree match finder over the ring buffer (the classic LZSS one).
class MatchFinder {
 public:
  static constexpr int NIL = N;

  MatchFinder() {
    std::memset(text_buf, 0, sizeof(text_buf));
    for (int i = N + 1; i <= N + 256; i++)
      rson[i] = NIL;
    for (int i = 0; i < N; i++)
      dad[i] = NIL;
  }

  void InsertNode(int r) {
    int cmp = 1;
    const uint8_t* key = &text_buf[r];
    int p = N + 1 + key[0];
    rson[r] = lson[r] = NIL;
    match_length = 0;
    for (;;) {
      if (cmp >= 0) {
        if (rson[p] != NIL) {
          p = rson[p];
        } else {
          rson[p] = r;
          dad[r] = p;
          return;
        }
      } else {
        if (lson[p] != NIL) {
          p = lson[p];
        } else {
          lson[p] = r;
          dad[r] = p;
          return;
        }
      }
      int i;
      for (i = 1; i < F; i++) {
        if ((cmp = key[i] - text_buf[p + i]) != 0) break;
      }
      if (i > THRESHOLD) {
        const int distance = ((r - p) & (N - 1));
        if (i > match_length) {
          match_distance = distance;
          if ((match_length = i) >= F) break;
        }
        if (i == match_length && distance < match_distance) match_distance = distance;
      }
    }
    dad[r] = dad[p];
    lson[r] = lson[p];
    rson[r] = rson[p];
    dad[lson[p]] = r;
    dad[rson[p]] = r;
    if (rson[dad[p]] == p) {
      rson[dad[p]] = r;
    } else {
      lson[dad[p]] = r;
    }
    dad[p] = NIL;
  }

  void DeleteNode(int p) {
    if (dad[p] == NIL) return;
    int q;
    if (rson[p] == NIL) {
      q = lson[p];
    } else if (lson[p] == NIL) {
      q = rson[p];
    } else {
      q = lson[p];
      if (rson[q] != NIL) {
        do {
          q = rson[q];
        } while (rson[q] != NIL);
        rson[dad[q]] = lson[q];
        dad[lson[q]] = dad[q];
        lson[q] = lson[p];
        dad[lson[p]] = q;
      }
      rson[q] = rson[p];
      dad[rson[p]] = q;
    }
    dad[q] = dad[p];
    if (rson[dad[p]] == p) {
      rson[dad[p]] = q;
    } else {
      lson[dad[p]] = q;
    }
    dad[p] = NIL;
  }

  uint8_t text_buf[N + F - 1];
  int lson[N + 1];
  int rson[N + 257];
  int dad[N + 1];
  int match_length = 0;
  int match_distance = 0;
};

}  // namespace

std::vector<uint8_t> LzhEncode(std::span<const uint8_t> data) {
  TLzhSymbolWriter writer;
  if (data.empty()) return writer.Finish();
  auto mf = std::make_unique<MatchFinder>();
  size_t next = 0;
  auto getc = [&]() -> int { return next < data.size() ? data[next++] : -1; };

  int s = 0;
  int r = N - F;
  std::memset(mf->text_buf, ' ', r);
  int len = 0;
  for (int c; len < F && (c = getc()) != -1; len++)
    mf->text_buf[r + len] = static_cast<uint8_t>(c);
  for (int i = 1; i <= F; i++)
    mf->InsertNode(r - i);
  mf->InsertNode(r);
  do {
    if (mf->match_length > len) mf->match_length = len;
    if (mf->match_length <= THRESHOLD) {
      mf->match_length = 1;
      writer.Literal(mf->text_buf[r]);
    } else {
      writer.Match(mf->match_length, mf->match_distance);
    }
    const int last_match_length = mf->match_length;
    int i = 0;
    for (int c; i < last_match_length && (c = getc()) != -1; i++) {
      mf->DeleteNode(s);
      mf->text_buf[s] = static_cast<uint8_t>(c);
      if (s < F - 1) mf->text_buf[s + N] = static_cast<uint8_t>(c);
      s = (s + 1) & (N - 1);
      r = (r + 1) & (N - 1);
      mf->InsertNode(r);
    }
    while (i++ < last_match_length) {
      mf->DeleteNode(s);
      s = (s + 1) & (N - 1);
      r = (r + 1) & (N - 1);
      if (--len) mf->InsertNode(r);
    }
  } while (len > 0);
  return writer.Finish();
}

}  // namespace skin
