// tests/fuzz/QuadTreeFuzz.cpp: quadtrees read from arbitrary bytes; what reads must write and read back
// to the same bytes.
#include "tests/fuzz/FuzzCommon.h"

#include "physics/TQuadTree.h"
#include "platform/TStream.h"

using namespace ravel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TMemoryStream in(data, size);
    TQuadTreeRef tree = TQuadTree::Read(in);
    if (!tree)
        return 0;
    // Exercise the queries over whatever was read; the answers themselves are not checked.
    tree->Collide(0.0f, 0.0f, tree->posX, tree->posY, 1.0f, 0);
    TMemoryStream first;
    tree->Write(first);
    fuzz::Check(first.Size() == static_cast<std::int64_t>(tree->CellCount()) * TQuadTree::CELL_BYTES,
                "a written tree takes CELL_BYTES per cell");
    first.Seek(0);
    TQuadTreeRef again = TQuadTree::Read(first);
    fuzz::Check(again != nullptr, "a written tree reads back");
    fuzz::Check(again->CellCount() == tree->CellCount(), "cell count survives");
    TMemoryStream second;
    again->Write(second);
    fuzz::Check(first.Bytes() == second.Bytes(), "write, read, write is stable");
    return 0;
}
