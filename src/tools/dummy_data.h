// Sub_ShowDummyDataDialog: the dummy-data filling of the result screen
// (Alt+F4): a dialog of settings and, when accepted, the current results
// filled with generated values.
//
// Not yet built: until the dialog comes the key shows nothing and changes
// no result. User-interface thread only.
#ifndef QZ_TOOLS_DUMMY_DATA_H_
#define QZ_TOOLS_DUMMY_DATA_H_

namespace qz {

void Sub_ShowDummyDataDialog();

}  // namespace qz

#endif  // QZ_TOOLS_DUMMY_DATA_H_
