# The end-to-end scripts' one library (sourced by every tests/e2e/*.sh, not run on its own). Each
# file below holds one concept; this one loads them in order and checks the environment.
set -euo pipefail
: "${ZENTRAP_BIN:?ZENTRAP_BIN must name the bin folder of the build}"
: "${ZENTRAP_SOURCE_DIR:?ZENTRAP_SOURCE_DIR must name the source folder}"
: "${DISPLAY:?run under scripts/with-test-desktop}"

e2e_lib=$(dirname "${BASH_SOURCE[0]}")
source "$e2e_lib/run.bash"
source "$e2e_lib/windows.bash"
source "$e2e_lib/screen.bash"
source "$e2e_lib/clipboard.bash"
source "$e2e_lib/settings.bash"
source "$e2e_lib/test_tools.bash"
source "$e2e_lib/program.bash"
source "$e2e_lib/capture.bash"
source "$e2e_lib/monitors.bash"
