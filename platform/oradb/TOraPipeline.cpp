#include "oradb/TOraPipeline.h"

#include "oradb/TOraQuery.h"
#include "oradb/TOraSession.h"
#include "oradb/Translator.h"
#include "oradb/internal/Binding.h"
#include "oradb/internal/Connection.h"
#include "oradb/internal/SessionAccess.h"
#include "rtl/Exception.h"

using oradb::internal::Bind;
using oradb::internal::Connection;
using oradb::internal::PipelineStatement;
using oradb::internal::Result;
using oradb::internal::RunOptions;

namespace {

bool IsBlank(const std::string& text) noexcept {
  return text.find_first_not_of(" \t\r\n") == std::string::npos;
}

}  // namespace

TOraPipeline::TOraPipeline(TOraSession* session) : FSession(session) {}

TOraPipeline::~TOraPipeline() = default;

void TOraPipeline::Open(TOraQuery& query) {
  Queue(query, true);
}

void TOraPipeline::ExecSQL(TOraQuery& query) {
  Queue(query, false);
}

void TOraPipeline::Queue(TOraQuery& query, bool opens) {
  if (query.Session() == nullptr) throw Exception("A consulta não está ligada a uma sessão.");
  if (query.Session() != FSession) throw Exception("A consulta está ligada a outra sessão que a do lote de comandos.");
  const std::string& text = query.SyncParams();
  if (opens && query.Active() && text == query.FOpenedText) return;
  if (IsBlank(text)) throw Exception("A consulta não tem instrução SQL.");
  if (query.Active()) query.Close();
  const oradb::Translation& translation = query.CurrentTranslation();
  if (opens && query.FUniDirectional && translation.ReturnsRows && !translation.IsBlock) {
    throw Exception("Uma consulta unidirecional não vai em um lote de comandos: abra-a sozinha.");
  }
  Item item;
  item.Query = &query;
  item.Opens = opens;
  item.Statement = text;
  item.Savepoint = query.FStatementSavepoint;
  if (translation.IsBlock) {
    // A block's text changes with its values: written in now, never prepared.
    item.Text = oradb::internal::RenderWithLiterals(translation, query.FParams);
    item.Prepare = false;
  } else {
    item.Text = translation.Text;
    item.Nowait = oradb::internal::EndsWithNowait(translation.Text);
    for (const Bind& bind : oradb::internal::BindsFor(translation, query.FParams)) {
      item.Values.push_back(bind.Value == nullptr ? std::nullopt : std::optional<std::string>(*bind.Value));
      item.Types.push_back(bind.TypeOid);
    }
  }
  item.Alone = item.Savepoint || item.Nowait;
  FItems.push_back(std::move(item));
}

void TOraPipeline::Execute() {
  std::vector<Item> items = std::move(FItems);
  FItems.clear();
  if (items.empty()) return;
  if (FSession == nullptr) throw Exception("O lote de comandos não está ligado a uma sessão.");
  RunQueued(items);
}

void TOraPipeline::RunQueued(std::vector<Item>& items) {
  Connection& connection = oradb::internal::SessionAccess::Of(*FSession);
  const auto binds_of = [](const Item& item) {
    std::vector<Bind> binds;
    binds.reserve(item.Values.size());
    for (std::size_t index = 0; index < item.Values.size(); ++index) {
      binds.push_back({item.Values[index] ? &*item.Values[index] : nullptr, item.Types[index]});
    }
    return binds;
  };
  std::size_t start = 0;
  while (start < items.size()) {
    if (items[start].Alone) {
      const Item& item = items[start];
      const Result result = connection.Run(item.Text, binds_of(item),
                                           RunOptions{item.Savepoint, item.Prepare, item.Nowait}, item.Statement);
      item.Query->TakeResult(result, item.Opens, item.Statement);
      ++start;
      continue;
    }
    std::size_t end = start;
    std::vector<PipelineStatement> statements;
    for (; end < items.size() && !items[end].Alone; ++end) {
      statements.push_back({&items[end].Text, binds_of(items[end]), items[end].Prepare, &items[end].Statement});
    }
    std::vector<Result> results;
    try {
      connection.RunPipeline(statements, results);
    } catch (...) {
      // The statements before the failure ran: their queries keep what they answered.
      for (std::size_t index = 0; index < results.size(); ++index) {
        const Item& item = items[start + index];
        try {
          item.Query->TakeResult(results[index], item.Opens, item.Statement);
        } catch (...) {
          // The failure that stopped the pipeline is the one to report.
        }
      }
      throw;
    }
    for (std::size_t index = 0; index < results.size(); ++index) {
      const Item& item = items[start + index];
      item.Query->TakeResult(results[index], item.Opens, item.Statement);
    }
    start = end;
  }
}
