// Every Fatal message of the matrix library, one named row per failing call: the line on
// standard output and the thrown text both read "Fatal Error : <msg> - <where>\n".
#include <filesystem>
#include <functional>
#include <limits>
#include <string>

#include "common/dm_builders.h"
#include "common/temp_dir.h"
#include "common/text_file.h"
#include "matrix/fatal_expect.h"
#include "matrix/expect_matrix.h"
#include "matrix/matrix.h"

namespace {

const double nan_ = std::numeric_limits<double>::quiet_NaN();
const double inf_ = std::numeric_limits<double>::infinity();

struct FatalRow {
  const char* label;
  std::function<void()> call;
  const char* msg;
  const char* where;
};

TEST(MatrixFatal, EveryMessage) {
  const char* range = "rows,cols out of range allowed";
  const char* incompat = "Incompatible matrices for";
  const char* shape = "Must be same shape matrices.";
  const char* view = "Index DM contains elements out of range";
  const char* conf = "matrices not conformable!";
  DM A22 = rows2(1, 2, 3, 4), R(1, 2, 1.0), C(2, 1, 1.0), E;
  CM Z22(2, 2, 1.0);
  DM big;
  big.redim(70000, 1, false);
  big.fill(1.0);
  const FatalRow rows[] = {
      {"DM rows above 15000", [] { DM(15001, 1); }, range, "construct DM(r,c)"},
      {"DM cols above 15000", [] { DM(1, 15001); }, range, "construct DM(r,c)"},
      {"DM negative rows", [] { DM(-1, 1); }, range, "construct DM(r,c)"},
      {"filled DM with no rows", [] { DM(0, 7, 1.0); }, range, "construct DM(r,c)"},
      {"DM from values, no cols", [] { const double v[] = {1}; DM(1, 0, v); }, range, "construct DM(r,c)"},
      {"CM rows above 15000", [] { CM(15001, 1); }, range, "construct CM(r,c)"},
      {"filled CM with no rows", [] { CM(0, 2, 1.0, 1.0); }, range, "construct CM(r,c)"},
      {"eye 0 rows", [] { eye(0, 3); }, range, "construct DM(r,c)"},
      {"ceye 0 rows", [] { ceye(0, 3); }, range, "construct CM(r,c)"},
      {"seqa over 15000", [] { seqa(1.0, 15001, 1.0); }, range, "construct DM(r,c)"},
      {"hconcat over 15000", [] { hconcat(DM(1, 15000, 0.0), DM(1.0)); }, range, "construct DM(r,c)"},
      {"span over 15000", [] { span(0.0, 15000.0, 1.0); }, range, "construct DM(r,c)"},
      {"span near INT_MAX", [] { span(0.0, 2147483647.0, 1.0); }, range, "construct DM(r,c)"},
      {"c2d without inputs", [] { DM P, G; c2d(P, G, DM(-1.0), DM(1, 0), 1e-3); }, range, "construct DM(r,c)"},
      {"row 2.5 of 2", [&] { A22(2.5, 1); }, "Index out of range", "DM(i,j)"},
      {"row 0.5", [&] { A22(0.5, 1); }, "Index out of range", "DM(i,j)"},
      {"col 3 of 2", [&] { A22(1, 3); }, "Index out of range", "DM(i,j)"},
      {"col 0", [&] { A22(1, 0); }, "Index out of range", "DM(i,j)"},
      {"row 1.5 of 1", [&] { R(1.5, 1); }, "Index out of range", "DM(i,j)"},
      {"NaN row", [&] { A22(nan_, 1); }, "Index out of range", "DM(i,j)"},
      {"NaN col", [&] { A22(1, nan_); }, "Index out of range", "DM(i,j)"},
      {"linear 4.5 of 4", [&] { A22(4.5); }, "Index out of range", "DM(i)"},
      {"linear 0.9", [&] { A22(0.9); }, "Index out of range", "DM(i)"},
      {"linear NaN", [&] { A22(nan_); }, "Index out of range", "DM(i)"},
      {"linear of empty", [&] { E(1); }, "Index out of range", "DM(i)"},
      {"CM row 2.5", [&] { Z22(2.5, 1); }, "Index out of range", "CM(i,j)"},
      {"CM NaN row", [&] { Z22(nan_, 1); }, "Index out of range", "CM(i,j)"},
      {"CM linear 5", [&] { Z22(5); }, "Index out of range", "CM(i)"},
      {"sumc no rows", [] { sumc(DM(0, 3)); }, "Index out of range", "DM(i,j)"},
      {"sumr no cols", [] { sumr(DM(3, 0)); }, "Index out of range", "DM(i,j)"},
      {"maxc no rows", [] { maxc(DM(0, 2)); }, "Index out of range", "DM(i,j)"},
      {"minr no cols", [] { minr(DM(2, 0)); }, "Index out of range", "DM(i,j)"},
      {"max of empty", [] { max(DM()); }, "Index out of range", "DM(i)"},
      {"CM sumc no rows", [] { sumc(CM(0, 3)); }, "Index out of range", "CM(i,j)"},
      {"view set row 2.7 of 2", [&] { A22(DM(2.7), DM(1.0)) = 1.0; }, "Index out of range", "DM(i,j)"},
      {"view set row 1.5 of 1", [&] { R(DM(1.5), DM(1.0)) = 3.0; }, "Index out of range", "DM(i,j)"},
      {"redim negative rows", [&] { A22.redim(-1, 2, false); }, "Cannot redimension to negative size", "redim(r,c)"},
      {"redim negative cols", [&] { A22.redim(2, -1, true); }, "Cannot redimension to negative size", "redim(r,c)"},
      {"CM redim negative", [&] { Z22.redim(-1, 0, true); }, "Cannot redimension to negative size", "redim(r,c)"},
      {"redim past 32 bits", [&] { A22.redim(70000, 70000, true); }, "out of memory", "new_DDB()"},
      {"empty redim past 32 bits", [] { DM e; e.redim(70000, 70000, false); }, "out of memory", "new_DDB()"},
      {"CM redim past 32 bits", [&] { Z22.redim(70000, 70000, true); }, "out of memory", "new_CDB()"},
      {"block of 2^32", [] { new_DDB(uint64_t(1) << 32); }, "out of memory", "new_DDB()"},
      {"CM block of 2^32", [] { new_CDB(uint64_t(1) << 32); }, "out of memory", "new_CDB()"},
      {"gather past 32 bits", [&] { DM g = DM(2.0)(big, big); }, "out of memory", "new_DDB()"},
      {"CM gather past 32 bits", [&] { CM g = CM(2.0)(big, big); }, "out of memory", "new_CDB()"},
      {"+ shapes", [] { DM(2, 3, 1.0) + DM(3, 2, 1.0); }, incompat, "+"},
      {"- shapes", [] { DM(2, 3, 1.0) - DM(3, 2, 1.0); }, incompat, "-"},
      {"+ row and column", [] { DM(1, 3, 1.0) + DM(3, 1, 1.0); }, incompat, "+"},
      {"ediv shapes", [] { ediv(DM(2, 3, 1.0), DM(3, 2, 1.0)); }, incompat, "/"},
      {"CM + shapes", [] { CM(2, 2, 1.0) + CM(3, 1, 1.0); }, incompat, "+"},
      {"CM - shapes", [] { CM(2, 2, 1.0) - CM(1, 2, 1.0); }, incompat, "-"},
      {"CM ediv shapes", [] { ediv(CM(2, 2, 1.0), CM(1, 2, 1.0)); }, incompat, "/"},
      {"expm not square", [] { expm(DM(2, 3, 1.0)); }, incompat, "+"},
      {"* same 2x3", [] { DM(2, 3, 1.0) * DM(2, 3, 1.0); }, "Matrices do not conform", "*"},
      {"* row by long col", [] { DM(1, 3, 1.0) * DM(4, 1, 1.0); }, "Matrices do not conform", "*"},
      {"matmul", [] { matmul(DM(2, 3, 1.0), DM(2, 3, 1.0)); }, "Matrices do not conform", "*"},
      {"CM *", [] { CM(2, 3, 1.0) * CM(2, 3, 1.0); }, "Matrices do not conform", "*"},
      {"emul", [] { emul(DM(2, 3, 1.0), DM(3, 2, 1.0)); }, shape, "emul"},
      {"CM emul", [] { emul(CM(2, 2, 1.0), CM(1, 4, 1.0)); }, shape, "emul"},
      {"==", [&] { R == C; }, shape, "=="},
      {"!=", [&] { R != C; }, shape, "!="},
      {"<", [&] { R < C; }, shape, "<"},
      {">", [&] { R > C; }, shape, ">"},
      {"<=", [&] { R <= C; }, shape, "<="},
      {">=", [&] { R >= C; }, shape, ">="},
      {"&&", [&] { R && C; }, shape, "&&"},
      {"||", [&] { R || C; }, shape, "||"},
      {"1x1 against empty", [] { DM(1, 0) > DM(0.0); }, shape, ">"},
      {"any of empty", [] { any(DM()); }, shape, ">"},
      {"CM ==", [] { CM(1, 2, 1.0) == CM(2, 1, 1.0); }, shape, "=="},
      {"CM !=", [] { CM(1, 2, 1.0) != CM(2, 1, 1.0); }, shape, "!="},
      {"CM &&", [] { CM(1, 2, 1.0) && CM(2, 1, 1.0); }, shape, "&&"},
      {"CM ||", [] { CM(1, 2, 1.0) || CM(2, 1, 1.0); }, shape, "||"},
      {"seqa size", [] { DM(2, 2).seqa(1.0, 3, 1.0); }, "seqa number != matrix size.", ""},
      {"CM seqa size", [] { CM(2, 2).seqa(complex(0), 3, complex(1)); }, "seqa number != matrix size.", ""},
      {"hconcat rows", [&] { hconcat(A22, DM(3, 1, 0.0)); }, "Must be same number of rows", "Horizontal concat"},
      {"vconcat cols", [] { vconcat(DM(2, 3, 0.0), DM(2, 4, 0.0)); }, "Must be same number of columns", "Vertical concat"},
      {"append_rows cols", [&] { A22.append_rows(DM(1, 3, 0.0)); }, "Must be same number of columns", "Vertical concat"},
      {"append_columns rows", [&] { A22.append_columns(DM(3, 1, 0.0)); }, "Must be same number of rows", "Horizontal concat"},
      {"CM vconcat cols", [] { vconcat(CM(2, 2, 0.0), CM(1, 3, 1.0)); }, "Must be same number of columns", "Vertical concat"},
      {"CM append_columns rows", [] { CM(2, 2, 0.0).append_columns(CM(3, 1, 1.0)); }, "Must be same number of rows", "Horizontal concat"},
      {"c2d B rows", [] { DM P, G; c2d(P, G, rows2(1, 0, 0, 1), DM(3, 1, 1.0), 1e-3); }, "Must be same number of rows", "Horizontal concat"},
      {"view row 0.5", [&] { A22(DM(0.5), DM(1.0)); }, view, "DM(DM,DM)"},
      {"view col 3", [&] { A22(DM(1.0), DM(3.0)); }, view, "DM(DM,DM)"},
      {"view row 3 colon", [&] { A22(DM(3.0), colon()); }, view, "DM(DM,DM)"},
      {"view NaN row", [&] { A22(DM(nan_), DM(1.0)); }, view, "DM(DM,DM)"},
      {"linear view 0.5", [&] { A22(DM(0.5)); }, view, "DM(DM)"},
      {"linear view 5", [&] { A22(DM(5.0)); }, view, "DM(DM)"},
      {"linear view NaN", [&] { A22(DM(nan_)); }, view, "DM(DM)"},
      {"CM view row 3", [&] { Z22(DM(3.0), DM(1.0)); }, view, "CM(DM,DM)"},
      {"CM linear view 0", [&] { Z22(DM(0.0)); }, view, "CM(DM)"},
      {"scatter J", [&] { A22(row({1, 2}), row({1, 2})) = DM(2, 3, 0.0); }, "Number of elements in J must equal number of columns in B", "A(I,J) = B"},
      {"scatter I", [&] { A22(row({1, 2}), row({1, 2})) = DM(3, 2, 0.0); }, "Number of elements in I must equal number of rows in B", "A(I,J) = B"},
      {"view to view I", [&] { A22(colon(), DM(2.0)) = A22(row({4, 3})); }, "Number of elements in I must equal number of rows in B", "A(I,J) = B"},
      {"linear scatter", [&] { A22(row({1, 2})) = row({1, 2, 3}); }, "Number of elements in I must equal number in B", "A(I) = B"},
      {"scatter empty", [&] { A22(row({1, 2})) = DM(); }, "This operation is not supported", "SDM::operator ="},
      {"CM scatter I", [&] { Z22(DM(1.0), colon()) = CM(2, 2, 0.0); }, "Number of elements in I must equal number of rows in B", "A(I,J) = B"},
      {"CM linear scatter", [&] { Z22(DM(1.0)) = CM(1, 2, 0.0); }, "Number of elements in I must equal number in B", "A(I) = B"},
      {"CM scatter empty", [&] { Z22(DM(1.0)) = CM(); }, "This operation is not supported", "SCM::operator ="},
      {"scalar / matrix", [] { DM(2.0) / rows2(1, 2, 3, 4); }, "A must not be scalar", "operation A / B"},
      {"matrix % scalar", [] { rows2(1, 2, 3, 4) % DM(2.0); }, "B must not be scalar", "operation A % B"},
      {"CM scalar / matrix", [] { CM(1.0) / CM(2, 2, 1.0); }, "A must not be scalar", "operation A / B"},
      {"CM matrix % scalar", [] { CM(2, 2, 1.0) % CM(1.0); }, "B must not be scalar", "operation A % B"},
      {"% not square", [] { DM(2, 3, 1.0) % DM(2, 1, 1.0); }, conf, "Dback_div"},
      {"/ cols", [] { DM(1, 3, 1.0) / DM(2, 2, 1.0); }, conf, "Dback_div"},
      {"Dback_div rows", [] { Dback_div(DM(2, 2, 1.0), DM(3, 1, 1.0)); }, conf, "Dback_div"},
      {"Dback_div no columns", [] { Dback_div(DM(2, 3, 1.0), DM(2, 0)); }, conf, "Dback_div"},
      {"CM % not square", [] { CM(2, 3, 1.0) % CM(2, 1, 1.0); }, conf, "Dback_div"},
      {"DLU 2x3", [] { DLU lu(DM(2, 3, 1.0)); }, conf, "DLU"},
      {"DLU 3x2", [] { DLU lu(DM(3, 2, 1.0)); }, conf, "DLU"},
      {"DLU solve short", [] { DLU(eye(2, 2)).solve(DM(1.0)); }, conf, "DLU::solve"},
      {"DLU solve long", [] { DLU(eye(2, 2)).solve(DM(3, 1, 1.0)); }, conf, "DLU::solve"},
      {"CLU 2x3", [] { CLU lu(CM(2, 3, 1.0)); }, conf, "CLU"},
      {"CLU solve short", [] { CLU(ceye(2, 2)).solve(CM(1.0)); }, conf, "CLU::solve"},
      {"eig not square", [] { CM D, V; eig(DM(2, 3, 1.0), D, V); }, "eigvalue : Matrix not square!", "999"},
      {"eigvalue not square", [] { eigvalue(DM(2, 3, 1.0)); }, "eigvalue : Matrix not square!", "999"},
      {"eigvector not square", [] { eigvector(DM(2, 3, 1.0)); }, "eigvector : Matrix not square!", "999"},
      {"eig Inf", [] { CM D, V; eig(rows2(1, inf_, 0, 1), D, V); }, "eig : matrix has non-finite elements", "999"},
      {"eigvalue NaN", [] { eigvalue(rows2(1, 0, nan_, 1)); }, "eig : matrix has non-finite elements", "999"},
      {"expm Inf", [] { expm(rows2(1, inf_, 0, 1)); }, "Matrix contains Inf or NaN", "expm"},
      {"expm NaN", [] { expm(rows2(nan_, 0, 1, 1)); }, "Matrix contains Inf or NaN", "expm"},
      {"expm norm overflows", [] { expm(rows2(1e308, 1e308, 0, 1)); }, "Matrix contains Inf or NaN", "expm"},
      {"span backwards", [] { span(3.0, 1.0, 1.0); }, "Can not have negative size range", "span"},
      {"span zero step", [] { span(0.0, 1.0, 0.0); }, "Can not have negative size range", "span"},
      {"span NaN step", [] { span(0.0, 1.0, nan_); }, "Can not have negative size range", "span"},
      {"span to Inf", [] { span(0.0, inf_, 1.0); }, "Can not have negative size range", "span"},
      {"span count overflows", [] { span(0.0, 1e20, 1.0); }, "Can not have negative size range", "span"},
      {"write to a full device", [] { DM(2, 2, 1.0).write("/dev/full"); }, "Error writing DM file", "/dev/full"},
      {"handler table", [] { matrix_error_handlers[0]("msg", "where"); }, "msg", "where"},
  };
  for (const FatalRow& r : rows) {
    SCOPED_TRACE(r.label);
    if (std::string(r.where) == "/dev/full" && !std::filesystem::exists(r.where)) continue;  // no such device here
    EXPECT_FATAL(r.call(), r.msg, r.where);
  }
  // Failed calls change nothing.
  expect_dm(A22, 2, 2, {1, 2, 3, 4});
  EXPECT_EQ(Z22.n, 4u);
}

TEST(MatrixFatal, OtherHandlersAndLongTexts) {
  testing::internal::CaptureStdout();
  matrix_error_handlers[1]("w1", "w2");
  matrix_error_handlers[2]("n1", "n2");
  mat_printf("%d|%s\n", 42, "x");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Warning : w1 - w2\nNote : n1 - n2\n42|x\n");
  // A long file name is neither cut from the printed line nor overflows the thrown text.
  TempDir dir;
  std::string name(1000, 'f');
  EXPECT_FATAL(DM().read(name.c_str()), "Unable to read DM file", name);
}

}  // namespace
