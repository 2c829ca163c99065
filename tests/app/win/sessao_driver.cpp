// Plays an operator's session with the real updater program: starts it,
// chooses the database and the workbook through its file dialogs, types the
// row number, starts the run and reads the box that ends it, then closes the
// program. Prints what it saw; exits 0 when the session went as expected.
//
//   sessao_driver PROGRAM.exe DB WORKBOOK ROWS sucesso
//   sessao_driver PROGRAM.exe DB WORKBOOK ROWS falha REASON
//   sessao_driver PROGRAM.exe - - - semcliente  (the client library cannot load)
//
// With E2E_PAUSA_MS set, the final box stays open that long (for screenshots).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/app/win/ui_driver.h"

namespace {

int falhas = 0;

void Falha(const std::wstring& texto) {
  ++falhas;
  std::fwprintf(stdout, L"FALHA: %ls\n", texto.c_str());
  std::fflush(stdout);
}

std::string Utf8(const std::wstring& w) {
  std::string out(
      static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()),
                                              nullptr, 0, nullptr, nullptr)),
      '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), out.data(),
                      static_cast<int>(out.size()), nullptr, nullptr);
  return out;
}

void Escreve(const std::string& linha) {
  std::fputs((linha + "\n").c_str(), stdout);
  std::fflush(stdout);
}

struct TJanelaDe {
  DWORD pid;
  std::wstring classe;  // empty: any
  std::wstring titulo;  // empty: any
  HWND achada;
};

BOOL CALLBACK AchaJanela(HWND wnd, LPARAM lparam) {
  auto* j = reinterpret_cast<TJanelaDe*>(lparam);
  DWORD pid = 0;
  GetWindowThreadProcessId(wnd, &pid);
  if (pid != j->pid || !IsWindowVisible(wnd)) return TRUE;
  wchar_t cls[64] = {};
  GetClassNameW(wnd, cls, 64);
  if (!j->classe.empty() && j->classe != cls) return TRUE;
  if (!j->titulo.empty() && ui::Text(wnd) != j->titulo) return TRUE;
  j->achada = wnd;
  return FALSE;
}

HWND JanelaDe(DWORD pid, const std::wstring& classe, const std::wstring& titulo) {
  TJanelaDe j{pid, classe, titulo, nullptr};
  EnumWindows(AchaJanela, reinterpret_cast<LPARAM>(&j));
  return j.achada;
}

// The descendant of `form` whose top-left corner lies at (x, y) of the
// form's client area (the stored layout).
struct TFilhaEm {
  HWND form;
  POINT p;
  std::wstring classe;
  HWND achada;
};

BOOL CALLBACK AchaFilha(HWND wnd, LPARAM lparam) {
  auto* f = reinterpret_cast<TFilhaEm*>(lparam);
  RECT r{};
  GetWindowRect(wnd, &r);
  POINT p{r.left, r.top};
  ScreenToClient(f->form, &p);
  wchar_t cls[64] = {};
  GetClassNameW(wnd, cls, 64);
  if (p.x == f->p.x && p.y == f->p.y && (f->classe.empty() || f->classe == cls)) {
    f->achada = wnd;
    return FALSE;
  }
  return TRUE;
}

HWND FilhaEm(HWND form, int x, int y, const std::wstring& classe = L"") {
  TFilhaEm f{form, {x, y}, classe, nullptr};
  EnumChildWindows(form, AchaFilha, reinterpret_cast<LPARAM>(&f));
  return f.achada;
}

// Clicks `botao`, names `caminho` in the file dialog that opens and accepts it.
bool EscolheArquivo(DWORD pid, HWND botao, const std::wstring& caminho) {
  ui::Click(botao);
  HWND dlg = nullptr;
  if (!ui::WaitFor([&] { return (dlg = JanelaDe(pid, L"#32770", L"")) != nullptr; }, 20000)) {
    Falha(L"o diálogo de arquivo não abriu");
    return false;
  }
  Sleep(500);
  HWND nome = GetDlgItem(dlg, 0x47C);
  if (nome == nullptr) nome = GetDlgItem(dlg, 0x480);
  if (nome == nullptr) {
    Falha(L"o diálogo não tem caixa de nome");
    return false;
  }
  SendMessageW(nome, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(caminho.c_str()));
  ui::Click(GetDlgItem(dlg, IDOK));
  if (!ui::WaitFor([&] { return !IsWindow(dlg); }, 20000)) {
    Falha(L"o diálogo de arquivo não fechou");
    return false;
  }
  return true;
}

int SemCliente(const std::wstring& programa) {
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  std::wstring linha = L"\"" + programa + L"\"";
  if (!CreateProcessW(programa.c_str(), linha.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &si, &pi)) {
    Falha(L"o programa não iniciou");
    return 1;
  }
  HWND caixa = nullptr;
  if (!ui::WaitFor([&] { return (caixa = JanelaDe(pi.dwProcessId, L"#32770", L"")) != nullptr; },
                   30000)) {
    Falha(L"nenhuma caixa de erro");
  } else {
    Sleep(300);
    std::wstring msg = ui::DialogMessage(caixa);
    Escreve("caixa: " + Utf8(msg));
    if (msg !=
        L"InterBase library gds32.dll not found in the path. Please install InterBase to use "
        L"this functionality") {
      Falha(L"mensagem inesperada");
    }
    if (JanelaDe(pi.dwProcessId, L"", L"Lumeira - Quennor") != nullptr) {
      Falha(L"a janela principal apareceu");
    }
    ui::Click(GetDlgItem(caixa, IDOK));
  }
  if (WaitForSingleObject(pi.hProcess, 30000) != WAIT_OBJECT_0) {
    Falha(L"o programa não terminou");
    TerminateProcess(pi.hProcess, 9);
  } else {
    DWORD codigo = 0;
    GetExitCodeProcess(pi.hProcess, &codigo);
    Escreve("saída: " + std::to_string(codigo));
    if (codigo == 0) Falha(L"o programa terminou como se tivesse dado certo");
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return falhas == 0 ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 6) {
    std::fputs("uso: sessao_driver PROGRAMA BANCO PLANILHA LINHAS sucesso|falha [MOTIVO]\n",
               stderr);
    return 2;
  }
  const std::wstring programa = argv[1], banco = argv[2], planilha = argv[3], linhas = argv[4],
                     modo = argv[5], motivo = argc > 6 ? argv[6] : L"";
  if (modo == L"semcliente") return SemCliente(programa);

  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  std::wstring linha = L"\"" + programa + L"\"";
  if (!CreateProcessW(programa.c_str(), linha.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &si, &pi)) {
    Falha(L"o programa não iniciou");
    return 1;
  }
  const DWORD pid = pi.dwProcessId;
  HWND form = nullptr;
  if (!ui::WaitFor([&] { return (form = JanelaDe(pid, L"", L"Lumeira - Quennor")) != nullptr; },
                   30000)) {
    Falha(L"a janela principal não apareceu");
    TerminateProcess(pi.hProcess, 9);
    return 1;
  }
  Sleep(500);
  SetForegroundWindow(form);
  // The stored layout: Panel2 starts 76 pixels down the client area.
  HWND bt_abrir_vortana = FilhaEm(form, 525, 93);
  HWND bt_abrir = FilhaEm(form, 525, 133);
  HWND edt_vortana = FilhaEm(form, 5, 96);
  HWND edt_origem = FilhaEm(form, 5, 136);
  HWND combo = FilhaEm(form, 415, 136, L"ComboBox");
  HWND edt_linha = FilhaEm(form, 266, 160);
  HWND bt_ok = FilhaEm(form, 351, 167);
  HWND bt_sair = FilhaEm(form, 504, 167);
  for (HWND h :
       {bt_abrir_vortana, bt_abrir, edt_vortana, edt_origem, combo, edt_linha, bt_ok, bt_sair}) {
    if (h == nullptr) {
      Falha(L"controle da janela não encontrado");
      TerminateProcess(pi.hProcess, 9);
      return 1;
    }
  }

  if (EscolheArquivo(pid, bt_abrir_vortana, banco)) {
    Sleep(500);
    if (HWND erro = JanelaDe(pid, L"#32770", L""); erro != nullptr) {
      Falha(L"o banco não abriu: " + ui::DialogMessage(erro));
      ui::Click(GetDlgItem(erro, IDOK));
    }
    if (ui::Text(edt_vortana) != banco) Falha(L"o caminho do banco não aparece");
  }
  if (EscolheArquivo(pid, bt_abrir, planilha)) {
    if (!ui::WaitFor([&] { return !ui::ComboItems(combo).empty(); }, 30000)) {
      Falha(L"as planilhas não foram listadas");
    }
    if (ui::Text(edt_origem) != planilha) Falha(L"o caminho da planilha não aparece");
  }
  // The row number: whatever was filled in is replaced by the operator's.
  ui::Click(edt_linha);
  ui::Key(VK_END);
  for (int i = 0; i < 10; ++i)
    ui::Key(VK_BACK);
  ui::Type(linhas);
  if (ui::Text(edt_linha) != linhas) Falha(L"o número da linha não foi digitado");

  LARGE_INTEGER freq, inicio, fim;
  QueryPerformanceFrequency(&freq);
  QueryPerformanceCounter(&inicio);
  ui::Click(bt_ok);
  HWND caixa = nullptr;
  if (!ui::WaitFor([&] { return (caixa = JanelaDe(pid, L"#32770", L"")) != nullptr; },
                   30 * 60 * 1000)) {
    Falha(L"a execução não terminou com uma caixa");
    TerminateProcess(pi.hProcess, 9);
    return 1;
  }
  QueryPerformanceCounter(&fim);
  Sleep(200);
  const std::wstring titulo = ui::Text(caixa), msg = ui::DialogMessage(caixa);
  char tempo[64];
  std::snprintf(tempo, sizeof tempo, "%.2f",
                static_cast<double>(fim.QuadPart - inicio.QuadPart) / freq.QuadPart);
  Escreve("tempo do clique à caixa (s): " + std::string(tempo));
  Escreve("caixa: " + Utf8(titulo) + ": " + Utf8(msg));
  if (modo == L"sucesso") {
    if (titulo != L"Information" || msg != L"Atualização concluída com sucesso!") {
      Falha(L"esperava a caixa de sucesso");
    }
  } else {
    const std::wstring prefixo = L"Houve um erro ao realizar a atualização. Motivo: \r";
    if (titulo != L"Error" || msg.compare(0, prefixo.size(), prefixo) != 0) {
      Falha(L"esperava a caixa de falha");
    } else if (msg.find(motivo, prefixo.size()) == std::wstring::npos) {
      Falha(L"o motivo não aparece depois de \"Motivo:\"");
    }
  }
  if (const char* pausa = std::getenv("E2E_PAUSA_MS")) Sleep(static_cast<DWORD>(std::atoi(pausa)));
  ui::Click(GetDlgItem(caixa, IDOK));
  ui::WaitFor([&] { return !IsWindow(caixa); });
  if (!ui::WaitFor([&] { return IsWindowEnabled(bt_sair) != FALSE; })) {
    Falha(L"os controles não voltaram a ficar habilitados");
  }
  ui::Click(bt_sair);
  if (WaitForSingleObject(pi.hProcess, 30000) != WAIT_OBJECT_0) {
    Falha(L"o programa não fechou");
    TerminateProcess(pi.hProcess, 9);
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return falhas == 0 ? 0 : 1;
}
