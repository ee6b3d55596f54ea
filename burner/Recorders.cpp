#include "burner/Recorders.h"

std::vector<RecorderInfo> ListRecorders() {
    return {RecorderInfo{kImageRecorderText, true}};
}
