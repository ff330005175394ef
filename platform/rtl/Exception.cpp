#include "rtl/Exception.h"

Exception::~Exception() = default;
TBaseExcecao::~TBaseExcecao() = default;
