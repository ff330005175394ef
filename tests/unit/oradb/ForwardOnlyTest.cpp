#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "oradb/TDataSet.h"
#include "unit/oradb/Failure.h"

namespace {

// A forward-only dataset fed in chunks, as a unidirectional query reads a server cursor: numbers
// 1..total, `chunk` rows at a time.
class ChunkedNumbers : public TDataSet {
 public:
  ChunkedNumbers(int total, int chunk, const std::string& filter = "") : FTotal(total), FChunk(chunk) {
    SetFilter(filter);
    SetFiltered(true);
    SetForwardOnly(true);
    std::vector<TRow> first;
    FetchMore(first);
    Load({TFieldDef{"N", TFieldType::ftInteger, 0, false}}, std::move(first));
  }
  [[nodiscard]] long long N() { return FieldByName("N").AsInteger(); }

 protected:
  bool FetchMore(std::vector<TRow>& rows) override {
    for (int i = 0; i < FChunk && FNext <= FTotal; ++i) rows.push_back({std::to_string(FNext++)});
    return !rows.empty();
  }

 private:
  int FTotal;
  int FChunk;
  int FNext = 1;
};

TEST(ForwardOnly, SeesEveryVisibleRowOnceWithItsPositionAndKeepsOneChunk) {
  struct Case {
    int total;
    int chunk;
    const char* filter;
    std::vector<long long> expected;
  };
  const Case cases[] = {{10, 3, "", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
                        {9, 3, "", {1, 2, 3, 4, 5, 6, 7, 8, 9}},
                        {0, 3, "", {}},
                        {10, 3, "N > 7", {8, 9, 10}},
                        // The last chunks hold no visible row: the last visible one stays current.
                        {10, 3, "N <= 2", {1, 2}},
                        {10, 3, "N = 5 OR N = 9", {5, 9}},
                        {10, 1, "N = 4", {4}},
                        {10, 3, "N > 10", {}}};
  for (const Case& c : cases) {
    ChunkedNumbers data(c.total, c.chunk, c.filter);
    std::vector<long long> seen;
    for (; !data.Eof(); data.Next()) {
      seen.push_back(data.N());
      EXPECT_EQ(data.RecNo(), seen.size());
      EXPECT_LE(data.RecordCount(), static_cast<std::size_t>(c.chunk) + 1);
    }
    EXPECT_EQ(seen, c.expected) << c.total << "/" << c.chunk << " " << c.filter;
    if (!c.expected.empty()) {
      EXPECT_EQ(data.N(), c.expected.back());
      EXPECT_EQ(data.RecNo(), c.expected.size());
    }
  }
}

TEST(ForwardOnly, GoingBackIsRefusedOnceRowsWereDroppedAndLastCountsWhatItPassed) {
  ChunkedNumbers data(10, 3);
  data.First();  // still on the first chunk: allowed
  for (int i = 0; i < 3; ++i) data.Next();
  EXPECT_EQ(data.N(), 4);
  for (const auto& move : {&TDataSet::First, &TDataSet::Prior}) {
    EXPECT_EQ(oradbtest::Failure([&] { (data.*move)(); }),
              "Exception: Operação não permitida em um conjunto de dados unidirecional.");
  }
  data.Last();
  EXPECT_TRUE(data.Eof());
  EXPECT_EQ(data.N(), 10);
  EXPECT_EQ(data.RecNo(), 10u);
  EXPECT_LE(data.RecordCount(), 3u);
}

}  // namespace
