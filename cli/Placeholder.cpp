namespace cli_placeholder {
int Unused() { return 0; }
}  // namespace cli_placeholder
