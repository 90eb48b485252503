-- Neovim's own LSP client against "zentrivo-cli lsp": a member with a wrong
-- value gets its diagnostic, and hover on the command name gets its title.
local cli = os.getenv('ZENTRIVO_CLI')
local home = os.getenv('ZENTRIVO_LSP_HOME')
local member = os.getenv('ZENTRIVO_LSP_MEMBER')

local function fail(msg)
  io.stderr:write('FAIL: ' .. msg .. '\n')
  vim.cmd('cquit 1')
end

vim.cmd('edit ' .. vim.fn.fnameescape(member))
local bufnr = vim.api.nvim_get_current_buf()
local client_id = vim.lsp.start_client({
  name = 'zentrivo',
  cmd = { cli, '--home', home, 'lsp' },
  root_dir = vim.fn.fnamemodify(member, ':h'),
})
if not client_id then
  fail('the server did not start')
end
vim.lsp.buf_attach_client(bufnr, client_id)

local arrived = vim.wait(20000, function()
  return #vim.diagnostic.get(bufnr) > 0
end, 50)
if not arrived then
  fail('no diagnostics arrived')
end
local message = vim.diagnostic.get(bufnr)[1].message
if not message:find('TYPE: %*OTHER') then
  fail('unexpected diagnostic: ' .. message)
end

local replies = vim.lsp.buf_request_sync(bufnr, 'textDocument/hover', {
  textDocument = { uri = vim.uri_from_bufnr(bufnr) },
  position = { line = 0, character = 2 },
}, 10000)
local text
for _, reply in pairs(replies or {}) do
  if reply.result and reply.result.contents then
    text = reply.result.contents.value
  end
end
if not text or not text:find('Create Library') then
  fail('hover gave: ' .. tostring(text))
end

vim.lsp.stop_client(client_id)
vim.cmd('qall!')
