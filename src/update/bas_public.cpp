#include "update/bas_public.h"

namespace qz::update {

BasPublic basPublic;

}  // namespace qz::update
