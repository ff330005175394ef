// Key function of the deposit picker: its type information lives in this library only.
#include "sdk/IQuorvinSelecaoDNI.h"

IQuorvinSelecaoDNI::~IQuorvinSelecaoDNI() = default;
