#include "core/data_store.h"

#include <cstdio>
#include <cstdlib>
#include <new>

namespace dalvex {

void StoreAccessOutOfBounds(const char* store, long row, long col, long width, long capacity) {
    std::fprintf(stderr,
                 "DALVEX: %s access out of bounds: row %ld, col %ld, width %ld, capacity %ld\n",
                 store, row, col, width, capacity);
    std::abort();
}

bool DataStore::Allocate() {
    try {
        work_.assign(CellCapacity, 0.0);
        data_.assign(CellCapacity, 0.0);
        vector1_.assign(VectorCapacity, 0.0);
        vector2_.assign(VectorCapacity, 0.0);
    } catch (const std::bad_alloc&) {
        work_.clear();
        data_.clear();
        vector1_.clear();
        vector2_.clear();
        return false;
    }
    return true;
}

bool DataStore::EnsureDataCells(long cells) {
    if (cells <= DataCells())
        return true;
    try {
        data_.resize(static_cast<std::size_t>(cells), 0.0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void DataStore::AllocateSquares(int rows) {
    const std::size_t cells = static_cast<std::size_t>(rows < 1 ? 1 : rows) * SquareSide;
    square1_.assign(cells, 0.0);
    square2_.assign(cells, 0.0);
}

void DataStore::ReleaseSquares() {
    square1_ = {};
    square2_ = {};
}

void DataStore::AllocateVector3(int size) {
    vector3_.assign(size < 1 ? 1 : size, 0.0);
}

void DataStore::ReleaseVector3() {
    vector3_ = {};
}

}  // namespace dalvex
