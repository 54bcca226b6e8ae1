# The two commands a newcomer needs: `make run` and `make test`.
BUILD ?= build
JOBS  ?= $(shell nproc)
# CI exports QUORVEL_WERROR=ON; on a developer machine a new warning need not stop the build.
QUORVEL_WERROR ?= OFF

.PHONY: all deps configure build test bench run package clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DQUORVEL_WERROR=$(QUORVEL_WERROR) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

bench: build
	@bash bench/run.sh $(BUILD)

# Only the two programs are built, not the tests and benchmarks, so a first run is quick. The
# window needs a desktop; on a console or over plain ssh the terminal calculator runs. Each is
# exec'd, so no shell stands between make and the program: Ctrl+C reaches the calculator,
# which drops the line being typed, and make waits for it to end.
run: configure
	@cmake --build $(BUILD) -j $(JOBS) --target quorvel quorvel-calc
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	    echo "The Quorvel window needs a desktop (neither DISPLAY nor WAYLAND_DISPLAY is set);"; \
	    echo "starting quorvel-calc in this terminal instead."; \
	    exec $(BUILD)/src/app/quorvel-calc; \
	else \
	    exec $(BUILD)/src/app/quorvel $(ARGS); \
	fi

# A .deb of the build, through CPack.
package: build
	@cd $(BUILD) && cpack

clean:
	@rm -rf $(BUILD)
