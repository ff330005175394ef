#include "sdk/Exception.h"

Exception::~Exception() = default;
TBaseExcecao::~TBaseExcecao() = default;
