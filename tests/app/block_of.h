// BlockOf: a block of rows as TDMCotrolaExcel::LeLinhas hands it over, for
// comparing engines: each row's texts joined by '|', and the error that
// ended the read ("" when none). Checks on the way that rows come in order
// and with one text per column.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/controla_excel.h"
#include "app/errors.h"

namespace app_test {

inline std::pair<std::vector<std::string>, std::string> BlockOf(app::TDMCotrolaExcel& excel,
                                                                int32_t first, int32_t last,
                                                                int32_t columns) {
  std::vector<std::string> rows;
  std::string error;
  try {
    excel.LeLinhas(first, last, columns, [&](int32_t row, std::span<const std::string_view> t) {
      EXPECT_EQ(row, first + static_cast<int32_t>(rows.size()));
      EXPECT_EQ(t.size(), static_cast<size_t>(columns));
      std::string line;
      for (auto v : t)
        line.append(v).push_back('|');
      rows.push_back(line);
    });
  } catch (const app::EPlanilhaError& e) {
    error = e.what();
  }
  return {rows, error};
}

}  // namespace app_test
