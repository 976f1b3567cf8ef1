#include "grids/grid_headers.h"

#include "platform/fw/resources.h"

void SetGridHeaders(fw::CGridCtrl* grid, int* cols, int firstCol, const int* ids) {
    int written = 0;
    for (; ids != nullptr && ids[written] != -1; ++written) {
        const int col = firstCol + written;
        const std::string text = fw::LoadString(static_cast<fw::UINT>(ids[written]));
        grid->SetCellText(0, col, text);
        grid->SetHeaderAlign(col, fw::CellAlign::Center);
        grid->SetColWidth(col, grid->GetTextExtent(text));
    }
    if (cols != nullptr) {
        *cols = written;
    }
}
