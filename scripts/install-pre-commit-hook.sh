#!/usr/bin/env bash
# Installs a git pre-commit hook that refuses a commit whose staged C++ files clang-format
# would change. Run once in a clone; `git commit --no-verify` passes it by when needed.
set -euo pipefail
cd "$(dirname "$0")/.."
hook="$(git rev-parse --git-path hooks)/pre-commit"
mkdir -p "$(dirname "$hook")"
cat >"$hook" <<'HOOK'
#!/usr/bin/env bash
# Checks the staged C++ files' formatting (installed by scripts/install-pre-commit-hook.sh).
set -euo pipefail
mapfile -t staged < <(git diff --cached --name-only --diff-filter=ACMR -- '*.cpp' '*.h')
[ ${#staged[@]} -eq 0 ] && exit 0
exec "$(git rev-parse --show-toplevel)/scripts/check-format.sh" "${staged[@]}"
HOOK
chmod +x "$hook"
echo "install-pre-commit-hook: installed $hook"
