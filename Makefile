# Shortcuts for the scripts the README names.
.PHONY: run test build
run:
	./scripts/run.sh
test:
	./scripts/test.sh
build:
	./scripts/build.sh all
