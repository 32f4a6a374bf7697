// The numeric workspace every method computes in: two flat matrices with
// settable row widths, two optional square matrices and three vectors.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace dalvex {

inline constexpr int CellCapacity = 65000;
inline constexpr int VectorCapacity = 16000;
inline constexpr int SquareSide = 253;  // Trunc(sqrt(CellCapacity) - 1)
inline constexpr int HalfSquareSide = SquareSide / 2;
inline constexpr int MaxVariables = 500;
inline constexpr int CellSize = 8;

// A cell that does not parse as a number; compared by exact equality.
inline constexpr double MissingValue = -1.0471975511965977e-09;
// Cells marked for deletion by the missing-values transformation.
inline constexpr double DeletionMarker = -1.0471975511965978e-08;
inline constexpr std::uint64_t MissingValueBits = 0xBE11FD9FA01627EEull;
inline constexpr std::uint64_t DeletionMarkerBits = 0xBE467D07881BB1EAull;

// Axes of the running data range: 0 X, 1 Y, 2 the depth axis of 3-D graphs.
inline constexpr int RangeAxes = 3;

[[noreturn]] void StoreAccessOutOfBounds(const char* store, long row, long col, long width,
                                         long capacity);

#if DALVEX_CHECKED_ACCESS
#define DALVEX_STORE_CHECK(name, row, col, width, capacity)                                       \
    do {                                                                                          \
        if ((row) < 0 || (col) < 0 || (col) >= (width) ||                                         \
            static_cast<long>(row) * (width) + (col) >= static_cast<long>(capacity))              \
            ::dalvex::StoreAccessOutOfBounds(name, row, col, width, static_cast<long>(capacity)); \
    } while (0)
#define DALVEX_VECTOR_CHECK(name, index, capacity)                                            \
    do {                                                                                      \
        if ((index) < 0 || static_cast<long>(index) >= static_cast<long>(capacity))           \
            ::dalvex::StoreAccessOutOfBounds(name, index, 0, 1, static_cast<long>(capacity)); \
    } while (0)
#else
#define DALVEX_STORE_CHECK(name, row, col, width, capacity) ((void)0)
#define DALVEX_VECTOR_CHECK(name, index, capacity) ((void)0)
#endif

// The two matrices whose row width a method sets.
enum class StoreMatrix { Work, Data };

class DataStore {
  public:
    // Allocates WorkMatrix, DataMatrix, Vector1 and Vector2. Returns false when
    // memory could not be had; the store is then unusable.
    bool Allocate();
    bool allocated() const { return !work_.empty(); }

    // which != 0: WorkWidth, which == 0: DataWidth.
    void SetRowWidth(int which, int width) { (which != 0 ? workWidth_ : dataWidth_) = width; }
    void SetRowWidth(StoreMatrix matrix, int width) {
        SetRowWidth(matrix == StoreMatrix::Work ? 1 : 0, width);
    }
    int WorkWidth() const { return workWidth_; }
    int DataWidth() const { return dataWidth_; }

    double& Work(int row, int col) {
        DALVEX_STORE_CHECK("WorkMatrix", row, col, workWidth_, work_.size());
        return work_[col + row * workWidth_];
    }
    double& Data(int row, int col) {
        DALVEX_STORE_CHECK("DataMatrix", row, col, dataWidth_, data_.size());
        return data_[col + row * dataWidth_];
    }
    double& Square1(int row, int col) {
        DALVEX_STORE_CHECK("SquareMatrix1", row, col, SquareSide, square1_.size());
        return square1_[col + row * SquareSide];
    }
    double& Square2(int row, int col) {
        DALVEX_STORE_CHECK("SquareMatrix2", row, col, SquareSide, square2_.size());
        return square2_[col + row * SquareSide];
    }
    double& Vec1(int i) {
        DALVEX_VECTOR_CHECK("Vector1", i, vector1_.size());
        return vector1_[i];
    }
    double& Vec2(int i) {
        DALVEX_VECTOR_CHECK("Vector2", i, vector2_.size());
        return vector2_[i];
    }
    double& Vec3(int i) {
        DALVEX_VECTOR_CHECK("Vector3", i, vector3_.size());
        return vector3_[i];
    }

    // The methods that need the optional stores allocate them for their
    // problem (rows of SquareSide cells) and release them afterwards.
    void AllocateSquares(int rows);
    void ReleaseSquares();
    void AllocateVector3(int size);
    void ReleaseVector3();

    // DataMatrix holds at least CellCapacity cells; loading grows it so that
    // every column the sheet accepts fits whole beside the spare rows a
    // method asks for. Returns false when memory could not be had.
    bool EnsureDataCells(long cells);
    long DataCells() const { return static_cast<long>(data_.size()); }

    // Whole-block views for the few routines that work on rows at once.
    double* DataBlock() { return data_.data(); }
    double* WorkBlock() { return work_.data(); }

    // Shared result cells of the moment, correlation and frequency routines:
    // overwritten by every routine that sets them, read by the caller right
    // after the call.
    double StatMean = 0.0;
    double StatVariance = 0.0;
    double StatSum = 0.0;
    double StatSumSquares = 0.0;
    double StatSumCubes = 0.0;
    double StatSumFourth = 0.0;

    // Running minimum and maximum per axis. While RangeSeen[axis] is false no
    // value has been taken and the bounds mean nothing; any number, pi
    // included, can be a real bound.
    std::array<double, RangeAxes> RangeMin{};
    std::array<double, RangeAxes> RangeMax{};
    std::array<bool, RangeAxes> RangeSeen{};

  private:
    int workWidth_ = 50;
    int dataWidth_ = 50;
    std::vector<double> work_;
    std::vector<double> data_;
    std::vector<double> square1_;
    std::vector<double> square2_;
    std::vector<double> vector1_;
    std::vector<double> vector2_;
    std::vector<double> vector3_;
};

}  // namespace dalvex
