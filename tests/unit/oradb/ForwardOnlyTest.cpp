#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "oradb/TDataSet.h"
#include "sdk/Exception.h"

namespace {

// A forward-only dataset fed in chunks, as a unidirectional query reads a server cursor: numbers
// 1..total, `chunk` rows at a time.
class ChunkedNumbers : public TDataSet {
 public:
  ChunkedNumbers(int total, int chunk) : FTotal(total), FChunk(chunk) {}

  void Open() {
    SetForwardOnly(true);
    std::vector<TRow> first;
    FetchMore(first);
    Load({TFieldDef{"N", TFieldType::ftInteger, 0, false}}, std::move(first));
  }
  [[nodiscard]] int Fetches() const noexcept { return FFetches; }

 protected:
  bool FetchMore(std::vector<TRow>& rows) override {
    ++FFetches;
    for (int i = 0; i < FChunk && FNext <= FTotal; ++i) rows.push_back({std::to_string(FNext++)});
    return !rows.empty();
  }

 private:
  int FTotal;
  int FChunk;
  int FNext = 1;
  int FFetches = 0;
};

std::vector<long long> ReadAll(ChunkedNumbers& data, std::vector<std::size_t>* positions = nullptr) {
  std::vector<long long> seen;
  for (; !data.Eof(); data.Next()) {
    seen.push_back(data.FieldByName("N").AsInteger());
    if (positions != nullptr) positions->push_back(data.RecNo());
  }
  return seen;
}

struct ChunkCase {
  int total;
  int chunk;
  const char* filter;
  std::vector<long long> expected;
};

class ForwardOnlyReading : public ::testing::TestWithParam<ChunkCase> {};

TEST_P(ForwardOnlyReading, SeesEveryVisibleRowOnceWithItsPosition) {
  ChunkedNumbers data(GetParam().total, GetParam().chunk);
  data.SetFilter(GetParam().filter);
  data.SetFiltered(true);
  data.Open();
  std::vector<std::size_t> positions;
  EXPECT_EQ(ReadAll(data, &positions), GetParam().expected);
  for (std::size_t i = 0; i < positions.size(); ++i) EXPECT_EQ(positions[i], i + 1);
  EXPECT_LE(data.RecordCount(), static_cast<std::size_t>(GetParam().chunk) + 1);
  if (!GetParam().expected.empty()) {
    // At the end the last visible row stays current, as in any dataset.
    EXPECT_EQ(data.FieldByName("N").AsInteger(), GetParam().expected.back());
    EXPECT_EQ(data.RecNo(), GetParam().expected.size());
  }
}

INSTANTIATE_TEST_SUITE_P(Chunks, ForwardOnlyReading,
                         ::testing::Values(ChunkCase{10, 3, "", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
                                           ChunkCase{9, 3, "", {1, 2, 3, 4, 5, 6, 7, 8, 9}}, ChunkCase{0, 3, "", {}},
                                           ChunkCase{10, 3, "N > 7", {8, 9, 10}},
                                           // The last chunks hold no visible row: the last visible one stays current.
                                           ChunkCase{10, 3, "N <= 2", {1, 2}},
                                           ChunkCase{10, 3, "N = 5 OR N = 9", {5, 9}}, ChunkCase{10, 1, "N = 4", {4}},
                                           ChunkCase{10, 3, "N > 10", {}}));

TEST(ForwardOnly, GoingBackIsRefusedOnceRowsWereDropped) {
  ChunkedNumbers data(10, 3);
  data.Open();
  data.First();  // still on the first chunk: allowed
  data.Next();
  data.Next();
  data.Next();
  EXPECT_EQ(data.FieldByName("N").AsInteger(), 4);
  for (const auto& move : {&TDataSet::First, &TDataSet::Prior}) {
    try {
      (data.*move)();
      FAIL();
    } catch (const Exception& error) {
      EXPECT_EQ(error.Message(), "Operação não permitida em um conjunto de dados unidirecional.");
    }
  }
}

TEST(ForwardOnly, LastSkipsToTheFinalRowCountingWhatItPassed) {
  ChunkedNumbers data(10, 3);
  data.Open();
  data.Last();
  EXPECT_TRUE(data.Eof());
  EXPECT_EQ(data.FieldByName("N").AsInteger(), 10);
  EXPECT_EQ(data.RecNo(), 10u);
  EXPECT_LE(data.RecordCount(), 3u);
}

}  // namespace
