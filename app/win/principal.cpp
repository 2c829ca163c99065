#include "app/win/principal.h"

#include <string>

#include "app/atualiza_emails.h"
#include "app/errors.h"
#include "app/importa_planilha.h"
#include "app/win/motor_planilha.h"
#include "framework/dialogs.h"
#include "framework/strings.h"

TFPrincipal* FPrincipal = nullptr;

namespace {

constexpr wchar_t kFiltroPlanilha[] =
    L"Planilha do MS Excel (*.xlsx;*.xls;*.csv)|*.xlsx; *.xls;*.csv";
constexpr wchar_t kFiltroBanco[] = L"Banco Firebird (*.FB;*.FDB;*.GDB)|*.FB; *.FDB;*.GDB";

// Frees a dialog when the handler ends, also on an error.
struct TLiberaDialogo {
  fw::TOpenDialog* d;
  ~TLiberaDialogo() { d->Free(); }
};

}  // namespace

TFPrincipal::TFPrincipal(fw::TComponent* owner) : fw::TForm(owner) {
  RegistraComponentesBanco();
  skin::win::RegisterSkinDataClasses();
  cdsTabelaTemp = std::make_unique<app::TTabelaTemp>("cdsTabelaTemp");
  // Creating dbVortana loads the client library: without it the window
  // is not created. SkinData1 loads the stored skin while it is read.
  ReadDescription(L"TFPRINCIPAL");
  Panel1 = FindChild<fw::TPanel>("Panel1");
  Image = FindChild<fw::TImage>("Image");
  Label1 = FindChild<fw::TLabel>("Label1");
  Panel2 = FindChild<fw::TPanel>("Panel2");
  Label2 = FindChild<fw::TLabel>("Label2");
  edtCaminhoOrigem = FindChild<fw::TEdit>("edtCaminhoOrigem");
  Btabrir = FindChild<fw::TBitBtn>("Btabrir");
  MostraPlanilha = FindChild<fw::TComboBox>("MostraPlanilha");
  Label3 = FindChild<fw::TLabel>("Label3");
  stbStatus = FindChild<fw::TStatusBar>("stbStatus");
  Panel3 = FindChild<fw::TPanel>("Panel3");
  lblAguarde = FindChild<fw::TLabel>("lblAguarde");
  btOK = FindChild<fw::TBitBtn>("btOK");
  btSair = FindChild<fw::TBitBtn>("btSair");
  Barra = FindChild<fw::TGauge>("Barra");
  edtCaminhoVortana = FindChild<fw::TEdit>("edtCaminhoVortana");
  Label4 = FindChild<fw::TLabel>("Label4");
  btAbrirVortana = FindChild<fw::TBitBtn>("btAbrirVortana");
  Label5 = FindChild<fw::TLabel>("Label5");
  edtNumLinha = FindChild<fw::TEdit>("edtNumLinha");
  dbVortana = dynamic_cast<TIBDatabaseComponente*>(FindComponent("dbVortana"));
  DBTransaction = dynamic_cast<TIBTransactionComponente*>(FindComponent("DBTransaction"));
  SkinData1 = dynamic_cast<skin::win::TSkinData*>(FindComponent("SkinData1"));
  progresso_ = std::make_unique<TProgressoJanela>(stbStatus, Barra);
  if (dbVortana == nullptr || DBTransaction == nullptr) {
    throw fw::Exception("TFPrincipal: the stored description lacks the database components");
  }
  DoCreate();
}

TFPrincipal::~TFPrincipal() {
  if (FPrincipal == this) FPrincipal = nullptr;
}

const fw::TClassInfo& TFPrincipal::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::TClassBuilder<TFPrincipal>("TFPrincipal", fw::TForm::StaticClassInfo())
          .Method("FormCreate", &TFPrincipal::FormCreate)
          .Method("FormClose", &TFPrincipal::FormClose)
          .Method("FormCloseQuery", &TFPrincipal::FormCloseQuery)
          .Method("FormKeyDown", &TFPrincipal::FormKeyDown)
          .Method("edtNumLinhaKeyPress", &TFPrincipal::edtNumLinhaKeyPress)
          .Method("MostraPlanilhaKeyPress", &TFPrincipal::MostraPlanilhaKeyPress)
          .Method("BtabrirClick", &TFPrincipal::BtabrirClick)
          .Method("btAbrirVortanaClick", &TFPrincipal::btAbrirVortanaClick)
          .Method("btOKClick", &TFPrincipal::btOKClick)
          .Method("btSairClick", &TFPrincipal::btSairClick)
          .Build();
  return info;
}

std::unique_ptr<app::TSpreadsheetEngine> TFPrincipal::CriaMotorPlanilha() {
  return CriaMotorPlanilhaPadrao();
}

void TFPrincipal::FormCreate(fw::TObject* /*sender*/) {
  HabilitaComponentes();
  dm_excel_ = std::make_unique<app::TDMCotrolaExcel>(CriaMotorPlanilha(), FormatoDoUsuario());
}

void TFPrincipal::Habilita(bool enabled) {
  Btabrir->SetEnabled(enabled);
  btAbrirVortana->SetEnabled(enabled);
  btOK->SetEnabled(enabled);
  btSair->SetEnabled(enabled);
  MostraPlanilha->SetEnabled(enabled);
  edtNumLinha->SetEnabled(enabled);
}

void TFPrincipal::HabilitaComponentes() {
  Habilita(true);
}

void TFPrincipal::DesabilitaComponentes() {
  Habilita(false);
}

void TFPrincipal::edtNumLinhaKeyPress(fw::TObject* /*sender*/, wchar_t& key) {
  // Only digits and backspace; every other character is dropped.
  if (!(key == 8 || (key >= L'0' && key <= L'9'))) key = 0;
}

void TFPrincipal::MostraPlanilhaKeyPress(fw::TObject* /*sender*/, wchar_t& key) {
  // Worksheets are chosen from the list, never typed.
  key = 0;
}

void TFPrincipal::FormKeyDown(fw::TObject* /*sender*/, WORD& key, fw::TShiftState /*shift*/) {
  if (key == VK_ESCAPE && !EmTransacao()) Close();
}

void TFPrincipal::btSairClick(fw::TObject* /*sender*/) {
  Close();
}

void TFPrincipal::FormCloseQuery(fw::TObject* /*sender*/, bool& can_close) {
  // The run still uses the window and the staging table: the close waits
  // for its end.
  if (em_execucao_) {
    fechar_ao_terminar_ = true;
    can_close = false;
  }
}

void TFPrincipal::FormClose(fw::TObject* /*sender*/, fw::TCloseAction& /*action*/) {
  cdsTabelaTemp.reset();
  Release();
  FPrincipal = nullptr;
}

void TFPrincipal::BtabrirClick(fw::TObject* /*sender*/) {
  auto* dialogo = new fw::TOpenDialog(this);
  TLiberaDialogo libera{dialogo};
  dialogo->SetFilter(kFiltroPlanilha);
  dialogo->Execute();
  edtCaminhoOrigem->SetText(dialogo->FileName());
  if (!edtCaminhoOrigem->Text().empty()) {
    CarregaPlanilhas();
    edtNumLinha->SetText(std::to_wstring(dm_excel_->UltimaLinha()));
  }
}

void TFPrincipal::btAbrirVortanaClick(fw::TObject* /*sender*/) {
  auto* dialogo = new fw::TOpenDialog(this);
  TLiberaDialogo libera{dialogo};
  dialogo->SetFilter(kFiltroBanco);
  dialogo->Execute();
  edtCaminhoVortana->SetText(dialogo->FileName());
  if (!edtCaminhoVortana->Text().empty()) {
    // A failing attachment leaves the connection closed, with the new name;
    // its error reaches the default error box.
    if (dbVortana->Connected()) dbVortana->SetConnected(false);
    dbVortana->SetDatabaseName(edtCaminhoVortana->Text());
    dbVortana->SetConnected(true);
  }
}

app::TRunFeedback TFPrincipal::Feedback() {
  app::TRunFeedback f;
  // The row text and the gauge change with every row; they reach the screen
  // at a bounded rate, and in full before a phase change or a message box.
  f.Fase = [this](const std::string& texto) {
    progresso_->Descarrega();
    lblAguarde->SetCaption(fw::Utf8ToWide(texto));
  };
  f.Status = [this](const std::string& texto) { progresso_->Status(fw::Utf8ToWide(texto)); };
  f.Barra = [this](int64_t progresso, int64_t maximo) { progresso_->Barra(progresso, maximo); };
  f.ProcessaMensagens = [this] {
    if (!progresso_->HoraDeMensagens()) return;
    if (fw::TApplication* app = fw::Application()) app->ProcessMessages();
  };
  f.Informacao = [this](const std::string& texto) {
    progresso_->Descarrega();
    fw::ShowInformation(fw::Utf8ToWide(texto));
  };
  f.Erro = [this](const std::string& texto) {
    progresso_->Descarrega();
    fw::ShowError(fw::Utf8ToWide(texto));
  };
  return f;
}

void TFPrincipal::ImportaPlanilha() {
  app::ImportaPlanilha(*dm_excel_, fw::WideToUtf8(edtNumLinha->Text()), *cdsTabelaTemp, Feedback());
}

void TFPrincipal::AtualizaEmails() {
  // Every run leaves its record in the user's records folder; the window
  // says nothing of it (a record that cannot be written fails the run).
  app::TRegistroDaExecucao registro;
  registro.Planilha = fw::WideToUtf8(edtCaminhoOrigem->Text());
  const int aba = MostraPlanilha->ItemIndex();
  if (aba >= 0) registro.Aba = fw::WideToUtf8(MostraPlanilha->Items()->Strings(aba));
  app::AtualizaEmails(dbVortana->Banco(), DBTransaction->Transacao(), *cdsTabelaTemp, Feedback(),
                      app::TModoPreparo::mpLotes, &registro);
}

bool TFPrincipal::EmTransacao() const {
  return DBTransaction != nullptr && DBTransaction->InTransaction();
}

void TFPrincipal::CarregaPlanilhas() {
  MostraPlanilha->Items()->Clear();
  dm_excel_->AbrePlanilha(fw::WideToUtf8(edtCaminhoOrigem->Text()));
  for (const std::string& nome : dm_excel_->ListaAbas()) {
    MostraPlanilha->Items()->Add(fw::Utf8ToWide(nome));
  }
  dm_excel_->LiberaLista();
  MostraPlanilha->SetItemIndex(0);
}

bool TFPrincipal::ValidaCampos() {
  if (edtCaminhoOrigem->Text().empty()) {
    fw::ShowWarning(L"Favor informar o caminho do arquivo a ser convertido!");
    Btabrir->SetFocus();
    return true;
  }
  if (MostraPlanilha->ItemIndex() < 0) {
    fw::ShowWarning(L"Favor selecionar uma planilha para ser convertida!");
    MostraPlanilha->SetFocus();
    return true;
  }
  return false;
}

void TFPrincipal::btOKClick(fw::TObject* /*sender*/) {
  if (edtNumLinha->Text().empty()) {
    fw::ShowWarning(
        L"Favor informar o numero da linha onde o último registro se encontra na planilha");
    edtNumLinha->SetFocus();
    return;
  }
  if (ValidaCampos()) return;
  dm_excel_->SelecionaAba(MostraPlanilha->ItemIndex() + 1);
  DesabilitaComponentes();
  em_execucao_ = true;
  try {
    ImportaPlanilha();
    AtualizaEmails();
    progresso_->Descarrega();
    HabilitaComponentes();
  } catch (const std::exception& e) {
    // The row where the run stopped stays on show.
    progresso_->Descarrega();
    em_execucao_ = false;
    // An import refused for its size has done nothing yet: the operator
    // gets the controls back to choose another sheet or row number.
    if (dynamic_cast<const app::EImportacaoRecusada*>(&e) != nullptr) HabilitaComponentes();
    if (!fechar_ao_terminar_) throw;  // the default error box reports it
    // The operator asked to close during the run: report, then close.
    if (fw::TApplication* app = fw::Application()) app->HandleException(e);
    fechar_ao_terminar_ = false;
    Close();
    return;
  }
  em_execucao_ = false;
  if (fechar_ao_terminar_) {
    fechar_ao_terminar_ = false;
    Close();
  }
}
