# The two commands a newcomer needs: `make run` and `make test`.
BUILD ?= build
JOBS  ?= $(shell nproc)
# CI exports QUORVEL_WERROR=ON; on a developer machine a new warning need not stop the build.
QUORVEL_WERROR ?= OFF

.PHONY: all deps configure build test bench run clean

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

run: build
	@if [ -x $(BUILD)/src/app/quorvel-calc ]; then \
	    $(BUILD)/src/app/quorvel-calc; \
	else \
	    echo "Nothing to run yet: the calculator programs are not built so far."; \
	fi

clean:
	@rm -rf $(BUILD)
