#!/usr/bin/env bash
# Dependencies of the updater core run one way: the run (app/atualiza_emails)
# uses the record, and the record, the undo, the preview and the rules of
# what a run sends (app/envio_cliente) never include the run.
#   dependencias_test.sh SOURCE_DIR
set -euo pipefail
cd "$1"
found="$(grep -l '#include "app/atualiza_emails.h"' app/historico/* app/previa_execucao.* \
  app/envio_cliente.* 2>/dev/null || true)"
if [[ -n "$found" ]]; then
  echo "FAIL: these include the run (app/atualiza_emails.h): $found"
  exit 1
fi
echo "ok: the record, the undo, the preview and the rules of what a run sends do not include the run"
