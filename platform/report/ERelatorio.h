#pragma once

#include "rtl/Exception.h"

// Failures of the report engine. Each message is Portuguese and names the template, the pipeline or
// the file concerned, so the host can show it as it is.
namespace report {

// Base of every failure of the engine.
class ERelatorio : public Exception {
 public:
  using Exception::Exception;
  ~ERelatorio() override;
  QUORVIN_EXCEPTION_NAME(ERelatorio)
};

// A template that cannot be read: not found, not JSON, or a band or element that is not well formed.
class EModeloInvalido : public ERelatorio {
 public:
  using ERelatorio::ERelatorio;
  ~EModeloInvalido() override;
  QUORVIN_EXCEPTION_NAME(EModeloInvalido)
};

// The data do not fit the template: a pipeline not bound, a field the dataset lacks, a barcode that
// is not a valid slip code, no record to print.
class EDadosRelatorio : public ERelatorio {
 public:
  using ERelatorio::ERelatorio;
  ~EDadosRelatorio() override;
  QUORVIN_EXCEPTION_NAME(EDadosRelatorio)
};

// The output device failed: the PDF file could not be written, the printer refused the job, no
// screen viewer is available.
class EDispositivoRelatorio : public ERelatorio {
 public:
  using ERelatorio::ERelatorio;
  ~EDispositivoRelatorio() override;
  QUORVIN_EXCEPTION_NAME(EDispositivoRelatorio)
};

}  // namespace report
