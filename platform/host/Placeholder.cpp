namespace host_placeholder {
int Unused() { return 0; }
}  // namespace host_placeholder
