#include "examinee/bas_public.h"

namespace qz {

BasPublic basPublic;

}  // namespace qz
