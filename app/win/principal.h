// TFPrincipal: the updater's main window. Created from its stored
// description (resource TFPRINCIPAL); its event handlers choose the
// workbook, check the entries and start a run.
//
// A run (btOKClick from the import on) keeps the window alive: a close
// request while it runs (title bar, system menu, Alt+F4, Escape) is held
// and carried out when the run has ended.
#pragma once

#include <memory>

#include "app/controla_excel.h"
#include "app/database/tabela_temp.h"
#include "app/run_feedback.h"
#include "app/win/componentes_banco.h"
#include "app/win/progresso_janela.h"
#include "framework/buttons.h"
#include "framework/comctrls.h"
#include "framework/extctrls.h"
#include "framework/forms.h"
#include "framework/gauges.h"
#include "framework/stdctrls.h"
#include "skin/data/win/skin_data_component.h"

class TFPrincipal : public fw::TForm {
 public:
  explicit TFPrincipal(fw::TComponent* owner);
  ~TFPrincipal() override;
  FW_CLASS_INFO(TFPrincipal)

  // Components, in declaration order.
  fw::TPanel* Panel1 = nullptr;
  fw::TImage* Image = nullptr;
  fw::TLabel* Label1 = nullptr;
  fw::TPanel* Panel2 = nullptr;
  fw::TLabel* Label2 = nullptr;
  fw::TEdit* edtCaminhoOrigem = nullptr;
  fw::TBitBtn* Btabrir = nullptr;
  fw::TComboBox* MostraPlanilha = nullptr;
  fw::TLabel* Label3 = nullptr;
  fw::TStatusBar* stbStatus = nullptr;
  fw::TPanel* Panel3 = nullptr;
  fw::TLabel* lblAguarde = nullptr;
  fw::TBitBtn* btOK = nullptr;
  fw::TBitBtn* btSair = nullptr;
  fw::TGauge* Barra = nullptr;
  fw::TEdit* edtCaminhoVortana = nullptr;
  fw::TLabel* Label4 = nullptr;
  fw::TBitBtn* btAbrirVortana = nullptr;
  fw::TLabel* Label5 = nullptr;
  fw::TEdit* edtNumLinha = nullptr;
  // The staging table, made with the window and freed when it closes.
  std::unique_ptr<app::TTabelaTemp> cdsTabelaTemp;
  TIBDatabaseComponente* dbVortana = nullptr;
  TIBTransactionComponente* DBTransaction = nullptr;
  // The skin data component: the window's skin and its settings.
  skin::win::TSkinData* SkinData1 = nullptr;

  // Published event handlers.
  void FormCreate(fw::TObject* sender);
  void FormClose(fw::TObject* sender, fw::TCloseAction& action);
  void FormCloseQuery(fw::TObject* sender, bool& can_close);
  void FormKeyDown(fw::TObject* sender, WORD& key, fw::TShiftState shift);
  void edtNumLinhaKeyPress(fw::TObject* sender, wchar_t& key);
  void MostraPlanilhaKeyPress(fw::TObject* sender, wchar_t& key);
  void BtabrirClick(fw::TObject* sender);
  void btAbrirVortanaClick(fw::TObject* sender);
  void btOKClick(fw::TObject* sender);
  void btSairClick(fw::TObject* sender);

  // The spreadsheet controller, created by FormCreate.
  app::TDMCotrolaExcel* DMExcel() const { return dm_excel_.get(); }
  // True from the start of a run's import until the run has ended.
  bool EmExecucao() const { return em_execucao_; }

 protected:
  // The run's two stages and the database's transaction state: the import
  // fills cdsTabelaTemp from the worksheet, the update writes it into
  // dbVortana inside DBTransaction. Tests replace them to hold a run.
  virtual void ImportaPlanilha();
  virtual void AtualizaEmails();
  virtual bool EmTransacao() const;
  // The window's progress display and message boxes, for the two stages.
  app::TRunFeedback Feedback();
  // The engine behind the spreadsheet controller.
  virtual std::unique_ptr<app::TSpreadsheetEngine> CriaMotorPlanilha();

 private:
  void HabilitaComponentes();
  void DesabilitaComponentes();
  void CarregaPlanilhas();
  bool ValidaCampos();
  void Habilita(bool enabled);

  std::unique_ptr<app::TDMCotrolaExcel> dm_excel_;
  // The status bar text and gauge of a run, painted at a bounded rate.
  std::unique_ptr<TProgressoJanela> progresso_;
  bool em_execucao_ = false;
  bool fechar_ao_terminar_ = false;
};

// The main window while it exists (cleared when it closes).
extern TFPrincipal* FPrincipal;
