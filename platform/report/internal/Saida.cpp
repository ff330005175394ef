#include "report/internal/Saida.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "report/ERelatorio.h"

extern char** environ;

namespace report::internal {

namespace {

constexpr std::size_t kMaiorMensagemComando = 2000;

std::string Erro(int numero) {
  return std::strerror(numero);
}

// Closes a descriptor when it goes out of scope.
class Descritor {
 public:
  explicit Descritor(int fd = -1) noexcept : FFd(fd) {}
  ~Descritor() { Fechar(); }
  Descritor(const Descritor&) = delete;
  Descritor& operator=(const Descritor&) = delete;
  [[nodiscard]] int Fd() const noexcept { return FFd; }
  void Fechar() noexcept {
    if (FFd >= 0) ::close(FFd);
    FFd = -1;
  }

 private:
  int FFd;
};

void EscreverTudo(int fd, const std::string& conteudo, const std::string& arquivo) {
  std::size_t escrito = 0;
  while (escrito < conteudo.size()) {
    const ssize_t n = ::write(fd, conteudo.data() + escrito, conteudo.size() - escrito);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      throw EDispositivoRelatorio("Não foi possível gravar o arquivo \"" + arquivo + "\": " + Erro(errno) + ".");
    }
    escrito += static_cast<std::size_t>(n);
  }
}

}  // namespace

void GravarArquivo(const std::string& arquivo, const std::string& conteudo, bool sobrescrever) {
  if (arquivo.empty()) throw EDispositivoRelatorio("Arquivo PDF do relatório não informado.");
  std::string temporario = arquivo + ".XXXXXX";
  Descritor fd(::mkstemp(temporario.data()));
  if (fd.Fd() < 0) {
    throw EDispositivoRelatorio("Não foi possível gravar o arquivo \"" + arquivo + "\": " + Erro(errno) + ".");
  }
  try {
    EscreverTudo(fd.Fd(), conteudo, arquivo);
    if (::fchmod(fd.Fd(), 0644) != 0 || ::fsync(fd.Fd()) != 0) {
      throw EDispositivoRelatorio("Não foi possível gravar o arquivo \"" + arquivo + "\": " + Erro(errno) + ".");
    }
    fd.Fechar();
    if (sobrescrever) {
      if (::rename(temporario.c_str(), arquivo.c_str()) != 0) {
        throw EDispositivoRelatorio("Não foi possível gravar o arquivo \"" + arquivo + "\": " + Erro(errno) + ".");
      }
    } else {
      // link() fails when the name exists: two writers of one name never both succeed.
      if (::link(temporario.c_str(), arquivo.c_str()) != 0) {
        const int erro = errno;
        throw EDispositivoRelatorio(erro == EEXIST
                                        ? "O arquivo \"" + arquivo + "\" já existe e não será substituído."
                                        : "Não foi possível gravar o arquivo \"" + arquivo + "\": " + Erro(erro) + ".");
      }
      ::unlink(temporario.c_str());
    }
  } catch (...) {
    ::unlink(temporario.c_str());
    throw;
  }
}

std::string ProblemaNomeImpressora(const std::string& impressora) {
  if (impressora.empty()) return "nome da impressora não informado";
  if (impressora.size() > 127) return "nome da impressora com mais de 127 caracteres";
  if (impressora.front() == '-') return "nome da impressora começa com \"-\"";
  for (const char c : impressora) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte == 0x7f || c == '/' || c == '#' || c == '\\' || c == '"' || c == '\'') {
      return "nome da impressora com espaço, caractere de controle, barra, aspas ou \"#\"";
    }
  }
  return {};
}

std::vector<std::string> ArgumentosLp(const std::string& comando, const std::string& impressora, int copias,
                                      const std::string& titulo, const std::string& arquivo) {
  return {comando, "-d", impressora, "-n", std::to_string(copias), "-o", "media=A4", "-t", titulo, "--", arquivo};
}

void Executar(const std::vector<std::string>& argumentos) {
  std::vector<char*> argv;
  for (const std::string& argumento : argumentos) argv.push_back(const_cast<char*>(argumento.c_str()));
  argv.push_back(nullptr);

  int tubo[2];
  if (::pipe2(tubo, O_CLOEXEC) != 0) {
    throw EDispositivoRelatorio("Não foi possível executar \"" + argumentos[0] + "\": " + Erro(errno) + ".");
  }
  Descritor leitura(tubo[0]);
  Descritor escrita(tubo[1]);
  posix_spawn_file_actions_t acoes;
  posix_spawn_file_actions_init(&acoes);
  posix_spawn_file_actions_addopen(&acoes, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&acoes, escrita.Fd(), STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&acoes, escrita.Fd(), STDERR_FILENO);
  pid_t processo = 0;
  const int inicio = ::posix_spawnp(&processo, argv[0], &acoes, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&acoes);
  if (inicio != 0) {
    throw EDispositivoRelatorio("Não foi possível executar o comando de impressão \"" + argumentos[0] +
                                "\": " + Erro(inicio) + ". Verifique se o cliente CUPS está instalado.");
  }
  escrita.Fechar();
  std::string saida;
  char bloco[512];
  for (;;) {
    const ssize_t n = ::read(leitura.Fd(), bloco, sizeof bloco);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    if (saida.size() < kMaiorMensagemComando) saida.append(bloco, static_cast<std::size_t>(n));
  }
  int status = 0;
  while (::waitpid(processo, &status, 0) < 0) {
    if (errno != EINTR) {
      throw EDispositivoRelatorio("Não foi possível acompanhar o comando \"" + argumentos[0] + "\": " + Erro(errno) +
                                  ".");
    }
  }
  while (!saida.empty() && (saida.back() == '\n' || saida.back() == '\r' || saida.back() == ' ')) saida.pop_back();
  if (saida.size() > kMaiorMensagemComando) saida.resize(kMaiorMensagemComando);
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return;
  const std::string como = WIFEXITED(status) ? "terminou com o código " + std::to_string(WEXITSTATUS(status))
                                             : "foi interrompido pelo sinal " + std::to_string(WTERMSIG(status));
  throw EDispositivoRelatorio("O comando de impressão \"" + argumentos[0] + "\" " + como +
                              (saida.empty() ? std::string(".") : ":\r" + saida));
}

}  // namespace report::internal
