#include "suite/search_dysp.h"

namespace qz {

ClsSearchDysp::ClsSearchDysp() = default;
ClsSearchDysp::~ClsSearchDysp() = default;

void ClsSearchDysp::ShowSearch() {}
void ClsSearchDysp::CloseSearch() {}

}  // namespace qz
